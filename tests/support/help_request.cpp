#include "tests/support/help_request.h"

std::vector<HelpRequest>& helpRequests() {
    static std::vector<HelpRequest> requests;
    return requests;
}

bool recordHelpRequest(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_HELP && message != WM_CONTEXTMENU)
        return false;
    HelpRequest request{message, wParam, lParam, InSendMessage() != FALSE, {}};
    // The HELPINFO lives only as long as the message; keep what the tests look at.
    if (message == WM_HELP && lParam)
        request.helpPoint = reinterpret_cast<const HELPINFO*>(lParam)->MousePos;
    helpRequests().push_back(request);
    return true;
}
