#include "tests/shell/handler_doubles.h"

#include "program/handlers.h"

namespace korvanta {
namespace doubles {

HandlerLog handler_log;
std::function<void()> on_staging;
std::function<void()> on_replace;
std::function<void()> on_restore;

void ResetHandlers() {
    handler_log = {};
    on_staging = nullptr;
    on_replace = nullptr;
    on_restore = nullptr;
}

} // namespace doubles

void StartupStaging() {
    ++doubles::handler_log.staging;
    if (doubles::on_staging)
        doubles::on_staging();
}

void ReplaceAction() {
    ++doubles::handler_log.replace;
    if (doubles::on_replace)
        doubles::on_replace();
}

void RestoreAction() {
    ++doubles::handler_log.restore;
    if (doubles::on_restore)
        doubles::on_restore();
}

} // namespace korvanta
