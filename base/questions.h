// The save-changes questions as the floors below the shell ask them; the
// shell installs its question windows at start-up.
#pragma once

#include <cstdint>

namespace drav {

constexpr std::int16_t reply_yes = 1, reply_cancel = 2, reply_no = 3;

struct QuestionHooks {
    int (*yes_no_cancel)(int table, int index, std::int16_t* answer) = nullptr;
    int (*yes_cancel)(int table, int index, std::int16_t* answer) = nullptr;
};
void set_question_hooks(const QuestionHooks& hooks);

// The answer (1 yes, 2 cancel, 3 no); Cancel when no window could ask.
std::int16_t ask_yes_no_cancel(int table, int index);
std::int16_t ask_yes_cancel(int table, int index);

}  // namespace drav
