#pragma once
#include <windows.h>
#include <vector>

// A help request (WM_HELP or WM_CONTEXTMENU) as it reached a window of the test.
struct HelpRequest {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool sent;       // sent (rather than posted) to the window
    POINT helpPoint; // WM_HELP: the HELPINFO's mouse position as it arrived
};

// The help requests recorded so far, oldest first; tests clear it before they ask.
std::vector<HelpRequest>& helpRequests();

// Records the message when it is a help request; returns whether it was one. Called from
// the window procedure that received it, so that whether it was sent can be told.
bool recordHelpRequest(UINT message, WPARAM wParam, LPARAM lParam);
