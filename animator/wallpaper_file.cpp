#include "animator/wallpaper_file.h"
#include "raster/dib_image.h"
#include "settings/catalogue_path.h"
#include "settings/text_buffer.h"

namespace {

constexpr int kReplaceAttempts = 4;
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

} // namespace

bool writeWallpaperFile(HBITMAP bitmap, int width, int height, const char* path) {
    DibImage image;
    if (!image.captureBitmap(bitmap, width, height))
        return false;
    char folder[kPathCapacity];
    if (!copyText(folder, sizeof folder, path))
        return false;
    cutAfterLastBackslash(folder);
    // A fresh name beside the target: never a half-written file under the target's name.
    char temporary[MAX_PATH];
    if (!GetTempFileNameA(folder, "owp", 0, temporary))
        return false;
    if (image.save(temporary, true, false) && replaceFile(temporary, path))
        return true;
    DeleteFileA(temporary);
    return false;
}
