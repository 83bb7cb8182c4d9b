#include "platform/dialogs/MessageBox.h"

#include "platform/Profile.h"

namespace {

MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}

}  // namespace

int AfxMessageBox(const std::string& text, unsigned type, ParentWindow owner) {
    if (!owner)
        owner = ::GetActiveWindow();
    const std::string& caption = GetProfileAppName();
    if (Handler())
        return Handler()(owner, text, caption, type);
    return ::MessageBoxA(owner, text.c_str(), caption.c_str(), type | (owner ? 0 : MB_TASKMODAL));
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    MessageBoxHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}
