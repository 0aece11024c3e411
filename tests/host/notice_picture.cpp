#include "tests/host/notice_picture.h"
#include "platform/gdi_handles.h"
#include "platform/loaded_module.h"
#include "tests/host/user_input.h"
#include "tests/support/captured_picture.h"
#include "tests/support/pixels.h"

std::vector<std::vector<COLORREF>> noticeRows(const std::string& program,
                                              const std::vector<int>& heights) {
    std::vector<std::vector<COLORREF>> rows;
    LoadedModule module(LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    BitmapHandle notice(static_cast<HBITMAP>(LoadImageA(
        module.get(), MAKEINTRESOURCEA(105), IMAGE_BITMAP, width, height, LR_DEFAULTCOLOR)));
    if (!notice)
        return rows;
    const Picture picture = captureBitmap(notice.get(), width, height);
    for (int y : heights) {
        std::vector<COLORREF> row;
        for (int x = 0; x < width; ++x)
            row.push_back(colorRef(picture.at(x, y)));
        rows.push_back(row);
    }
    return rows;
}

bool screenShows(const std::vector<std::vector<COLORREF>>& rows, const std::vector<int>& heights) {
    if (rows.size() != heights.size())
        return false;
    for (std::size_t i = 0; i < heights.size(); ++i) {
        const std::vector<COLORREF> shown = readScreenRow(heights[i]);
        if (shown.size() != rows[i].size())
            return false;
        for (std::size_t x = 0; x < shown.size(); ++x)
            if (!nearColour(shown[x], rows[i][x], 2))
                return false;
    }
    return true;
}
