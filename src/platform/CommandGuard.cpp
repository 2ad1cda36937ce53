#include "platform/CommandGuard.h"

#include <exception>
#include <new>

namespace cirrolux {

bool runGuarded(UserInterface& ui, const std::function<void()>& command)
{
    try {
        command();
        return true;
    } catch (const std::bad_alloc&) {
        ui.showError("Out of memory");
    } catch (const std::exception& e) {
        ui.showError(e.what());
    } catch (...) {
        ui.showError("Unknown error");
    }
    return false;
}

} // namespace cirrolux
