// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Answers every modal dialog of a test with a function that receives the real dialog object,
// and restores the previous handler afterwards.

#include <functional>
#include <utility>

#include "widgets/ModalDialog.h"

namespace pictaria::test {

class ModalAnswers {
  public:
    explicit ModalAnswers(std::function<int(QDialog&)> answer)
        : previous_(setModalHandler([this, answer = std::move(answer)](QDialog& dialog) {
              ++shown;
              return answer(dialog);
          })) {}
    ModalAnswers(const ModalAnswers&) = delete;
    ModalAnswers& operator=(const ModalAnswers&) = delete;
    ~ModalAnswers() { setModalHandler(std::move(previous_)); }

    int shown = 0;

  private:
    ModalHandler previous_;
};

}  // namespace pictaria::test
