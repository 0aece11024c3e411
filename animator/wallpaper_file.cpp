#include "animator/wallpaper_file.h"
#include "platform/quiet_file_errors.h"
#include "raster/bmp_from_pixels.h"
#include "raster/dib_image.h"
#include "settings/catalogue_path.h"
#include "settings/text_buffer.h"

namespace {

constexpr int kReplaceAttempts = 4;
// The name of the file that is written before it replaces the wallpaper: owpXXXX.tmp.
constexpr char kTemporaryPrefix[] = "owp";
constexpr DWORD kReplaceRetryMs = 50;

// Moves the complete file over the target. Another program (the desktop loading the
// previous picture, a virus scanner) may hold the target for a moment: a few more tries.
bool replaceFile(const char* complete, const char* target) {
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExA(complete, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        const DWORD error = GetLastError();
        if (attempt == kReplaceAttempts ||
            (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION))
            return false;
        Sleep(kReplaceRetryMs);
    }
}

// A previous run that was ended while it wrote (killed, or the machine went off) left its
// temporary file behind: the next hand-off takes it away.
void removeLeftoverTemporaries(const char* folder) {
    char pattern[kPathCapacity];
    if (!copyText(pattern, sizeof pattern, folder) ||
        !appendText(pattern, sizeof pattern, kTemporaryPrefix) ||
        !appendText(pattern, sizeof pattern, "*.tmp"))
        return;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern, &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        char path[kPathCapacity];
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            copyText(path, sizeof path, folder) && appendText(path, sizeof path, found.cFileName))
            DeleteFileA(path);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

} // namespace

bool writeWallpaperFile(HDC surface, int width, int height, const char* path) {
    // A failing drive must not put a system message box over the saver as it closes.
    const QuietFileErrors quiet;
    const PixelView pixels = topDownPixelsOf(surface);
    DibImage image;
    if (!pixels && !image.captureBitmap(static_cast<HBITMAP>(GetCurrentObject(surface, OBJ_BITMAP)),
                                        width, height))
        return false;
    char folder[kPathCapacity];
    if (!copyText(folder, sizeof folder, path))
        return false;
    cutAfterLastBackslash(folder);
    removeLeftoverTemporaries(folder);
    // A fresh name beside the target: never a half-written file under the target's name.
    char temporary[MAX_PATH];
    if (!GetTempFileNameA(folder, kTemporaryPrefix, 0, temporary))
        return false;
    const bool written = pixels ? writePixelsAsBmp(pixels, width, height, temporary)
                                : image.save(temporary, true, true); // quiet already
    if (written && replaceFile(temporary, path))
        return true;
    DeleteFileA(temporary);
    return false;
}
