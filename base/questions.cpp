#include "base/questions.h"

namespace drav {

namespace {
QuestionHooks g_hooks;

std::int16_t asked(int (*window)(int, int, std::int16_t*), int table, int index) {
    std::int16_t answer = reply_cancel;
    if (!window || window(table, index, &answer) != 0) return reply_cancel;
    return answer;
}
}  // namespace

void set_question_hooks(const QuestionHooks& hooks) { g_hooks = hooks; }

std::int16_t ask_yes_no_cancel(int table, int index) { return asked(g_hooks.yes_no_cancel, table, index); }
std::int16_t ask_yes_cancel(int table, int index) { return asked(g_hooks.yes_cancel, table, index); }

}  // namespace drav
