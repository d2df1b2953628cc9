#pragma once
// The source check list seen as a tick list, for the commands that walk the ticked files.

#include "fileops/TickList.h"

namespace pictaria {

class CheckListBox;

class CheckListTickList : public TickList {
  public:
    explicit CheckListTickList(CheckListBox& list) : list_(list) {}

    int count() const override;
    std::string name(int index) const override;
    void setName(int index, const std::string& name) override;
    bool ticked(int index) const override;
    void setTicked(int index, bool ticked) override;
    void removeAt(int index) override;
    void clear() override;

  private:
    CheckListBox& list_;
};

}  // namespace pictaria
