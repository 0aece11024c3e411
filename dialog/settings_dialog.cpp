#include "dialog/settings_dialog.h"
#include "dialog/compact_layout.h"
#include "dialog/file_version.h"
#include "dialog/logo_button.h"
#include "platform/icon_handle.h"
#include "resources/resource_ids.h"
#include "settings/catalogue.h"
#include "settings/preferences.h"
#include "settings/text_buffer.h"

#include <cstdint>
#include <utility>

// What the dialog showed when it opened; OK writes only what differs from it. There is
// one settings dialog at a time, on the main thread.
static std::int32_t initialType = -1;   // the type shown, -1 for an empty list
static std::uint32_t initialPolicy = 0; // as stored, possibly none of the three policies

static HINSTANCE dialogInstance(HWND dialog) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
}

static HICON loadProgramIcon(HINSTANCE instance, int size) {
    return static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDI_SAVER), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

// Makes the program icon the dialog class's big and small icon. The class keeps showing
// them after the dialog has gone, so one pair per module lives as long as the process
// instead of a new pair leaking at every opening.
static void showProgramIcon(HWND dialog) {
    static HINSTANCE loadedFrom = nullptr;
    static IconHandle big;
    static IconHandle small;
    HINSTANCE instance = dialogInstance(dialog);
    IconHandle previousBig;
    IconHandle previousSmall;
    if (instance != loadedFrom || !big || !small) {
        previousBig = std::move(big);
        previousSmall = std::move(small);
        big.reset(loadProgramIcon(instance, 32));
        small.reset(loadProgramIcon(instance, 16));
        loadedFrom = instance;
    }
    SetClassLongPtrA(dialog, GCLP_HICON, reinterpret_cast<LONG_PTR>(big.get()));
    SetClassLongPtrA(dialog, GCLP_HICONSM, reinterpret_cast<LONG_PTR>(small.get()));
    // Icons of an earlier module are destroyed here, now that the class no longer shows them.
}

static void appendVersionToTitle(HWND dialog) {
    char suffix[32] = "";
    char path[kPathCapacity];
    DWORD length = GetModuleFileNameA(dialogInstance(dialog), path, sizeof path);
    FileVersion version{};
    if (length > 0 && length < sizeof path && readFileVersion(path, version))
        formatVersionSuffix(version, suffix, sizeof suffix);

    constexpr int kTitleCapacity = 200;
    char title[kTitleCapacity + sizeof suffix];
    GetDlgItemTextA(dialog, IDC_TITLE, title, kTitleCapacity);
    appendText(title, sizeof title, suffix);
    SetDlgItemTextA(dialog, IDC_TITLE, title);
}

// The type number of the list's selection, or -1 when nothing is selected.
static std::int32_t selectedType(HWND dialog) {
    LRESULT index = SendDlgItemMessageA(dialog, IDC_TYPE_LIST, CB_GETCURSEL, 0, 0);
    if (index < 0)
        return -1;
    return static_cast<std::int32_t>(
        SendDlgItemMessageA(dialog, IDC_TYPE_LIST, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

// Lists the catalogue's types in number order and selects the stored one (or the first).
// Returns how many types the catalogue has.
static int fillTypeList(HWND dialog) {
    initialType = static_cast<std::int32_t>(loadSelectedType());
    LRESULT selected = 0;
    int count = 0;
    TypeSettings type{};
    for (int number = kFirstTypeNumber; number <= kLastTypeNumber; ++number) {
        if (!readTypeSettings(number, 0, 0, 0, type))
            continue;
        ++count;
        LRESULT index = SendDlgItemMessageA(dialog, IDC_TYPE_LIST, CB_ADDSTRING, 0,
                                            reinterpret_cast<LPARAM>(type.name));
        if (index < 0)
            continue;
        SendDlgItemMessageA(dialog, IDC_TYPE_LIST, CB_SETITEMDATA, static_cast<WPARAM>(index),
                            number);
        if (number == initialType)
            selected = index;
    }
    SendDlgItemMessageA(dialog, IDC_TYPE_LIST, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    initialType = selectedType(dialog);
    return count;
}

static int policyButton(std::uint32_t policy) {
    if (policy == storedPolicy(WallpaperPolicy::Conditional))
        return IDC_POLICY_CONDITIONAL;
    if (policy == storedPolicy(WallpaperPolicy::Never))
        return IDC_POLICY_NEVER;
    return IDC_POLICY_ALWAYS;
}

static void openSettings(HWND dialog) {
    showProgramIcon(dialog);
    appendVersionToTitle(dialog);
    if (fillTypeList(dialog) <= 1)
        applyCompactLayout(dialog);
    initialPolicy = loadWallpaperPolicy();
    CheckRadioButton(dialog, IDC_POLICY_CONDITIONAL, IDC_POLICY_ALWAYS,
                     policyButton(initialPolicy));
}

// Stores what the user changed; a new type or policy starts the next run from the
// beginning, so the resume position goes with it.
static void confirmSettings(HWND dialog) {
    std::int32_t newType = selectedType(dialog);
    bool typeChanged = false;
    if (newType != initialType) {
        saveSelectedType(static_cast<std::uint32_t>(newType));
        typeChanged = true;
    }
    WallpaperPolicy newPolicy = WallpaperPolicy::Always;
    if (IsDlgButtonChecked(dialog, IDC_POLICY_CONDITIONAL) == BST_CHECKED)
        newPolicy = WallpaperPolicy::Conditional;
    else if (IsDlgButtonChecked(dialog, IDC_POLICY_NEVER) == BST_CHECKED)
        newPolicy = WallpaperPolicy::Never;

    if (storedPolicy(newPolicy) != initialPolicy) {
        saveWallpaperPolicy(newPolicy);
        resetSavedPosition();
    } else if (typeChanged) {
        resetSavedPosition();
    }
}

INT_PTR CALLBACK settingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        openSettings(dialog);
        return TRUE;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (!item || item->CtlID != IDC_LOGO_BUTTON)
            return FALSE;
        drawLogoButton(dialog, *item);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            confirmSettings(dialog);
            EndDialog(dialog, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

INT_PTR runSettingsDialog(HINSTANCE instance, HWND owner) {
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SETTINGS), owner, settingsDialogProc, 0);
}
