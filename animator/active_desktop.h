#pragma once
#include <windows.h>
#include <shlguid.h> // CLSID_ActiveDesktop {75048700-EF1F-11D0-9888-006097DEACF9},
#include <unknwn.h>
// IID_IActiveDesktop {F490EB00-1240-11D1-9888-006097DEACF9}

// The shell's Active Desktop object. The cross-compiler's headers name its class and
// interface but do not declare the interface; the methods stand in its published order,
// which is its table of operations.

struct ActiveDesktopWallpaperOptions { // WALLPAPEROPT
    DWORD size;
    DWORD style;
};

inline constexpr DWORD WPSTYLE_CENTER = 0;
inline constexpr DWORD WPSTYLE_TILE = 1;
inline constexpr DWORD WPSTYLE_STRETCH = 2;
// One picture over all monitors (Windows 8 and later).
inline constexpr DWORD WPSTYLE_SPAN = 5;

inline constexpr DWORD AD_APPLY_SAVE = 0x1;
inline constexpr DWORD AD_APPLY_HTMLGEN = 0x2;
inline constexpr DWORD AD_APPLY_REFRESH = 0x4;

// Only the first five operations are called; the rest are declared to keep the table whole.
struct IActiveDesktop : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE ApplyChanges(DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetWallpaper(LPWSTR wallpaper, UINT capacity,
                                                   DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetWallpaper(LPCWSTR wallpaper, DWORD reserved) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetWallpaperOptions(ActiveDesktopWallpaperOptions* options,
                                                          DWORD reserved) = 0;
    virtual HRESULT STDMETHODCALLTYPE
    SetWallpaperOptions(const ActiveDesktopWallpaperOptions* options, DWORD reserved) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPattern(LPWSTR pattern, UINT capacity, DWORD reserved) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetPattern(LPCWSTR pattern, DWORD reserved) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDesktopItemOptions(void* options, DWORD reserved) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetDesktopItemOptions(const void* options,
                                                            DWORD reserved) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddDesktopItem(const void* component, DWORD reserved) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddDesktopItemWithUI(HWND window, void* component,
                                                           DWORD reserved) = 0;
    virtual HRESULT STDMETHODCALLTYPE ModifyDesktopItem(const void* component, DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE RemoveDesktopItem(const void* component, DWORD reserved) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDesktopItemCount(int* count, DWORD reserved) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDesktopItem(int index, void* component,
                                                     DWORD reserved) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDesktopItemByID(ULONG_PTR id, void* component,
                                                         DWORD reserved) = 0;
    virtual HRESULT STDMETHODCALLTYPE GenerateDesktopItemHtml(LPCWSTR fileName, void* component,
                                                              DWORD reserved) = 0;
    virtual HRESULT STDMETHODCALLTYPE AddUrl(HWND window, LPCWSTR source, void* component,
                                             DWORD flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDesktopItemBySource(LPCWSTR source, void* component,
                                                             DWORD reserved) = 0;
};
