// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's check list as the batch commands see it: entry names with their ticks.

#include <string>

#include "fileops/TickList.h"

namespace pictaria {

class CheckListBox;

class CheckListTickList : public TickList {
  public:
    explicit CheckListTickList(CheckListBox& list) : list_(list) {}

    int count() const override;
    std::string name(int index) const override;
    // Changes the entry's text in place: its position, tick and the selection stay.
    void setName(int index, const std::string& name) override;
    bool ticked(int index) const override;
    void setTicked(int index, bool ticked) override;
    void removeAt(int index) override;
    void clear() override;

  private:
    CheckListBox& list_;
};

}  // namespace pictaria
