#pragma once
#include <windows.h>

#include <string>

// A settings dialog made modeless from the test program's own template (the test links
// the program's resources), destroyed with the object. Not shown unless asked.
class SettingsDialogWindow {
  public:
    explicit SettingsDialogWindow(HWND owner = nullptr);
    ~SettingsDialogWindow();
    SettingsDialogWindow(const SettingsDialogWindow&) = delete;
    SettingsDialogWindow& operator=(const SettingsDialogWindow&) = delete;

    HWND get() const { return dialog_; }
    HWND item(int id) const { return GetDlgItem(dialog_, id); }
    void show() const;

    // A rectangle of the template (dialog units) in the dialog's client pixels.
    RECT mapped(int x, int y, int width, int height) const;
    // Where a control is, in the dialog's client coordinates.
    RECT placeOf(int id) const;
    std::string text(int id) const;

    // What a user does: choose an entry, click a button.
    void selectListEntry(int index) const;
    void click(int id) const;
    // Sends the command that OK or Cancel (or any id) would send.
    void command(int id) const;

  private:
    HWND dialog_ = nullptr;
};

// Handles the messages waiting for this thread's windows.
void pumpMessages();

int width(const RECT& rect);
int height(const RECT& rect);
