#include "check/contact_sheet.h"
#include "check/report_text.h"
#include "check/system_message.h"
#include "platform/gdi_handles.h"
#include "platform/kernel_handles.h"
#include "raster/bmp_from_pixels.h"
#include "raster/offscreen_surface.h"
#include "resources/resource_ids.h"
#include "scene/scene.h"

#include <cstdio>

namespace {

std::string frameFileName(int type, ScreenSize screen) {
    char name[64];
    std::snprintf(name, sizeof name, "Type%02d-%dx%d.bmp", type, screen.width, screen.height);
    return name;
}

std::string htmlText(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '&':
            out += "&amp;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// The name of the active code page for the page's charset, as browsers know them.
std::string charsetName() {
    switch (const UINT page = GetACP()) {
    case 932:
        return "shift_jis";
    case 936:
        return "gbk";
    case 949:
        return "euc-kr";
    case 950:
        return "big5";
    case 65001:
        return "utf-8";
    default:
        return "windows-" + std::to_string(page);
    }
}

std::string writeSurface(const std::string& folder, const std::string& name,
                         const OffscreenSurface& surface) {
    GdiFlush();
    const PixelView pixels = topDownPixelsOf(surface.dc());
    const std::string path = folder + "\\" + name;
    return pixels && writePixelsAsBmp(pixels, surface.width(), surface.height(), path.c_str())
               ? name
               : std::string();
}

} // namespace

bool ContactSheet::open(const std::string& folder, std::string& error) {
    folder_ = folder;
    if (!CreateDirectoryA(folder_.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        error = systemMessage(GetLastError());
        return false;
    }
    const DWORD attributes = GetFileAttributesA(folder_.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        error = "is a file, not a folder";
        return false;
    }
    return true;
}

std::string ContactSheet::writeFrame(int type, ScreenSize screen, HDC dc, Scene& scene) {
    OffscreenSurface surface(dc, screen.width, screen.height);
    if (!surface)
        return {};
    scene.draw(surface.dc(), nullptr, true, false, nullptr);
    return writeSurface(folder_, frameFileName(type, screen), surface);
}

std::string ContactSheet::writeNotice(int type, ScreenSize screen, HDC dc) {
    OffscreenSurface surface(dc, screen.width, screen.height);
    if (!surface)
        return {};
    BitmapHandle notice(static_cast<HBITMAP>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_NOTICE), IMAGE_BITMAP,
                   screen.width, screen.height, LR_DEFAULTCOLOR)));
    if (!notice)
        return {};
    MemoryDC memory(dc);
    SelectedObject selection(memory.get(), notice.get());
    if (!selection ||
        !BitBlt(surface.dc(), 0, 0, screen.width, screen.height, memory.get(), 0, 0, SRCCOPY))
        return {};
    return writeSurface(folder_, frameFileName(type, screen), surface);
}

bool ContactSheet::writeIndex(const CheckReport& report, std::string& error) const {
    std::string html = "<!DOCTYPE html>\n<html><head><meta charset=\"" + charsetName() +
                       "\">\n<title>" + htmlText(report.cataloguePath) +
                       "</title>\n<style>\nbody{font-family:sans-serif;background:#222;color:#eee}"
                       "\ntable{border-collapse:collapse}\ntd,th{padding:6px;vertical-align:top;"
                       "text-align:left}\nimg{width:240px;border:1px solid #555}\n.notice{color:"
                       "#f87}\n</style></head><body>\n<h1>" +
                       htmlText(report.cataloguePath) + "</h1>\n<p>" +
                       std::to_string(report.errorCount()) + " errors, " +
                       std::to_string(report.warningCount()) +
                       " warnings. Each picture is the first frame the saver draws.</p>\n"
                       "<table>\n<tr><th>Type</th>";
    for (const ScreenSize& screen : report.screens)
        html += "<th>" + screenName(screen) + "</th>";
    html += "</tr>\n";
    for (const TypeOutcome& type : report.types) {
        char number[16];
        std::snprintf(number, sizeof number, "Type%02d", type.number);
        html += "<tr><th>" + std::string(number) + "<br>" + htmlText(type.name) + "<br><small>" +
                moveTypeName(type.moveType) + "</small></th>";
        for (const ScreenOutcome& outcome : type.screens) {
            std::string caption = outcome.key.empty() ? "no File key" : outcome.key;
            if (outcome.scaledFromReference)
                caption += ", scaled";
            html += "<td>";
            if (!outcome.frameFile.empty())
                html += "<a href=\"" + outcome.frameFile + "\"><img src=\"" + outcome.frameFile +
                        "\" alt=\"" + std::string(number) + " at " + screenName(outcome.screen) +
                        "\"></a><br>";
            html += "<small>" + htmlText(caption) + "</small><br>";
            if (outcome.broken)
                html += "<span class=\"notice\">notice: " + std::to_string(outcome.errors) +
                        " error" + (outcome.errors == 1 ? "" : "s") + "</span>";
            else
                html +=
                    "runs" + (outcome.warnings ? ", " + std::to_string(outcome.warnings) +
                                                     " warning" + (outcome.warnings == 1 ? "" : "s")
                                               : std::string());
            html += "</td>";
        }
        html += "</tr>\n";
    }
    html += "</table>\n</body></html>\n";

    const std::string path = folder_ + "\\index.html";
    KernelHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file ||
        !WriteFile(file.get(), html.data(), static_cast<DWORD>(html.size()), &written, nullptr) ||
        written != html.size()) {
        error = systemMessage(GetLastError());
        return false;
    }
    return true;
}
