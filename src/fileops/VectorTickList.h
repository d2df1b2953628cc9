// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A tick list held in a vector: the batch commands without a window (tests, benchmarks).

#include <string>
#include <utility>
#include <vector>

#include "fileops/TickList.h"

namespace pictaria {

class VectorTickList : public TickList {
  public:
    VectorTickList(std::vector<std::string> names, std::vector<bool> ticks)
        : names_(std::move(names)), ticks_(std::move(ticks)) {}

    int count() const override { return static_cast<int>(names_.size()); }
    std::string name(int index) const override { return names_.at(index); }
    void setName(int index, const std::string& name) override { names_.at(index) = name; }
    bool ticked(int index) const override { return ticks_.at(index); }
    void setTicked(int index, bool ticked) override { ticks_.at(index) = ticked; }
    void removeAt(int index) override {
        names_.erase(names_.begin() + index);
        ticks_.erase(ticks_.begin() + index);
    }
    void clear() override {
        names_.clear();
        ticks_.clear();
    }

    const std::vector<std::string>& names() const { return names_; }
    const std::vector<bool>& ticks() const { return ticks_; }

  private:
    std::vector<std::string> names_;
    std::vector<bool> ticks_;
};

}  // namespace pictaria
