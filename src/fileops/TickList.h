// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A list of file names with a tick each, as the batch commands see the source list. The main
// window adapts its check list to it; tests use a plain vector.

#include <string>

namespace pictaria {

class TickList {
  public:
    virtual ~TickList() = default;
    virtual int count() const = 0;
    virtual std::string name(int index) const = 0;
    virtual void setName(int index, const std::string& name) = 0;
    virtual bool ticked(int index) const = 0;
    virtual void setTicked(int index, bool ticked) = 0;
    virtual void removeAt(int index) = 0;
    virtual void clear() = 0;
};

}  // namespace pictaria
