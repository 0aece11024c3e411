#include "resources/resource_ids.h"
#include "tests/support/dib_section.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

// The program's resources as the test program carries them (it links the same objects).

namespace {

HMODULE self() {
    return GetModuleHandleA(nullptr);
}

const BYTE* resourceData(LPCSTR type, int id, DWORD& size) {
    HRSRC found = FindResourceA(self(), MAKEINTRESOURCEA(id), type);
    if (!found)
        return nullptr;
    size = SizeofResource(self(), found);
    return static_cast<const BYTE*>(LockResource(LoadResource(self(), found)));
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colourCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInResource;
    WORD id;
};
#pragma pack(pop)

// (width, bits per pixel) of each image of an icon group, read from the images themselves.
std::set<std::pair<int, int>> iconImages(int groupId, std::set<int>* heights = nullptr) {
    std::set<std::pair<int, int>> images;
    DWORD size = 0;
    const BYTE* group = resourceData(MAKEINTRESOURCEA(14), groupId, size); // RT_GROUP_ICON
    if (!group || size < 6)
        return images;
    WORD count = *reinterpret_cast<const WORD*>(group + 4);
    for (WORD i = 0; i < count && 6 + (i + 1) * sizeof(GroupIconEntry) <= size; ++i) {
        GroupIconEntry entry;
        std::memcpy(&entry, group + 6 + i * sizeof entry, sizeof entry);
        DWORD imageSize = 0;
        const BYTE* image = resourceData(MAKEINTRESOURCEA(3), entry.id, imageSize); // RT_ICON
        if (!image || imageSize < sizeof(BITMAPINFOHEADER))
            continue;
        BITMAPINFOHEADER header;
        std::memcpy(&header, image, sizeof header);
        images.insert({header.biWidth, header.biBitCount});
        if (heights)
            heights->insert(header.biHeight / 2); // colour and mask stacked
    }
    return images;
}

// Pixels of an icon as DrawIconEx combines them: the mask ANDed with the screen, then the
// colour XORed. Counts the pixels that the mask leaves to the background and checks that
// the colour there is black, so that the background shows unchanged.
int transparentPixels(int id, int size, bool& colourWhereTransparent) {
    colourWhereTransparent = false;
    auto icon = static_cast<HICON>(
        LoadImageA(self(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size == 0 ? 0 : size, 0));
    if (!icon)
        return -1;
    ICONINFO info{};
    GetIconInfo(icon, &info);
    BITMAP colourInfo{};
    GetObjectA(info.hbmColor, sizeof colourInfo, &colourInfo);
    int width = colourInfo.bmWidth;
    int height = colourInfo.bmHeight;
    BITMAPINFO format = topDownDibInfo(width, height);
    std::vector<std::uint32_t> colour(width * height), mask(width * height);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, info.hbmColor, 0, height, colour.data(), &format, DIB_RGB_COLORS);
    GetDIBits(screen, info.hbmMask, 0, height, mask.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
    int transparent = 0;
    for (int i = 0; i < width * height; ++i) {
        if ((mask[i] & 0xFFFFFF) == 0)
            continue;
        ++transparent;
        if ((colour[i] & 0xFFFFFF) != 0)
            colourWhereTransparent = true;
    }
    return transparent;
}

} // namespace

TEST(ProgramResources, ProgramIconHas16And32PixelImagesIn16And256Colours) {
    std::set<int> heights;
    std::set<std::pair<int, int>> expected{{16, 4}, {16, 8}, {32, 4}, {32, 8}};
    EXPECT_EQ(iconImages(IDI_SAVER, &heights), expected);
    EXPECT_EQ(heights, (std::set<int>{16, 32}));
}

TEST(ProgramResources, LogoIconIsOne72By32ImageOf16Colours) {
    std::set<int> heights;
    EXPECT_EQ(iconImages(IDI_LOGO, &heights), (std::set<std::pair<int, int>>{{72, 4}}));
    EXPECT_EQ(heights, std::set<int>{32});
}

TEST(ProgramResources, IconsShowTheBackgroundWhereTheirMaskSaysSo) {
    struct Case {
        int id, size;
    } cases[] = {{IDI_SAVER, 16}, {IDI_SAVER, 32}, {IDI_LOGO, 0}};
    for (const Case& c : cases) {
        bool colourWhereTransparent = true;
        // Rounded corners of the program icon, everything around the logo.
        EXPECT_GT(transparentPixels(c.id, c.size, colourWhereTransparent), 4) << c.id;
        EXPECT_FALSE(colourWhereTransparent) << c.id << " at " << c.size;
    }
}

TEST(ProgramResources, BitmapsHaveTheirSizesIn256Colours) {
    struct Case {
        int id, width, height;
    } cases[] = {{IDB_NOTICE, 320, 240}, {IDB_PREVIEW_PLACEHOLDER, 240, 180}};
    for (const Case& c : cases) {
        DWORD size = 0;
        const BYTE* data = resourceData(MAKEINTRESOURCEA(2), c.id, size); // RT_BITMAP
        ASSERT_NE(data, nullptr) << c.id;
        BITMAPINFOHEADER header;
        ASSERT_GE(size, sizeof header);
        std::memcpy(&header, data, sizeof header);
        EXPECT_EQ(header.biWidth, c.width) << c.id;
        EXPECT_EQ(header.biHeight, c.height) << c.id;
        EXPECT_EQ(header.biBitCount, 8) << c.id;
        EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB)) << c.id;
    }
}

TEST(ProgramResources, NoticeBitmapHasAWhiteBackground) {
    auto bitmap = static_cast<HBITMAP>(
        LoadImageA(self(), MAKEINTRESOURCEA(IDB_NOTICE), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    int white = 0;
    const POINT probes[] = {{0, 0}, {319, 0}, {0, 239}, {319, 239}, {5, 120}, {314, 120}};
    for (POINT p : probes)
        white += GetPixel(dc, p.x, p.y) == RGB(255, 255, 255);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    EXPECT_EQ(white, 6);
}

TEST(ProgramResources, StringsAreKept) {
    char text[260];
    ASSERT_GT(LoadStringA(self(), IDS_SAVER_DESCRIPTION, text, sizeof text), 0);
    EXPECT_STREQ(text, "Tolvane Screen Saver");
    ASSERT_GT(LoadStringA(self(), IDS_DATA_FOLDER, text, sizeof text), 0);
    EXPECT_STREQ(text, "\\Tolvane\\OrvikSaver");
    ASSERT_GT(LoadStringA(self(), IDS_WALLPAPER_FILE, text, sizeof text), 0);
    EXPECT_STREQ(text, "\\CreatedFileByTolvaneScreenSaver.bmp");
}

TEST(ProgramResources, VersionRecordDescribesTheProgramWithItsTrailingBlank) {
    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, path, sizeof path), 0u);
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    ASSERT_GT(size, 0u);
    std::string block(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, block.data()));
    char* description = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\040904B0\\FileDescription",
                               reinterpret_cast<void**>(&description), &length));
    EXPECT_STREQ(description, "Tolvane Screen Saver ");
    VS_FIXEDFILEINFO* fixed = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00020000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000002u);
}

TEST(ProgramResources, ManifestAsksForCommonControls6PerMonitorAwarenessItsWindowsAndNoElevation) {
    DWORD size = 0;
    const BYTE* data = resourceData(MAKEINTRESOURCEA(24), 1, size); // RT_MANIFEST
    ASSERT_NE(data, nullptr);
    std::string manifest(reinterpret_cast<const char*>(data), size);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
    EXPECT_NE(manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/"
                            "WindowsSettings\">true/pm</dpiAware>"),
              std::string::npos);
    EXPECT_NE(manifest.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/"
                            "WindowsSettings\">PerMonitorV2, PerMonitor</dpiAwareness>"),
              std::string::npos);
    EXPECT_NE(manifest.find("<application xmlns=\"urn:schemas-microsoft-com:asm.v3\">"),
              std::string::npos);
    // Each supported Windows inside the compatibility section's application, which must
    // come before the settings' own application element.
    const std::size_t compatibility =
        manifest.find("<compatibility xmlns=\"urn:schemas-microsoft-com:compatibility.v1\">");
    const std::size_t compatibilityEnd = manifest.find("</compatibility>");
    ASSERT_NE(compatibility, std::string::npos);
    ASSERT_NE(compatibilityEnd, std::string::npos);
    for (const char* system : {"e2011457-1546-43c5-a5fe-008deee3d3f0",    // Vista
                               "35138b9a-5d96-4fbd-8e2d-a2440225f93a",    // 7
                               "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",    // 8
                               "1f676c76-80e1-4239-95bb-83d0f6d0da78",    // 8.1
                               "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"}) { // 10, 11
        const std::size_t at = manifest.find(std::string("<supportedOS Id=\"{") + system + "}\"/>");
        EXPECT_TRUE(at > compatibility && at < compatibilityEnd) << system;
    }
    const std::size_t trust =
        manifest.find("<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">");
    const std::size_t level =
        manifest.find("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>");
    ASSERT_NE(trust, std::string::npos);
    EXPECT_TRUE(level != std::string::npos && level > trust &&
                level < manifest.find("</trustInfo>"));
    // The manifest is in force: the process gets version 6 of the common controls, which
    // lives in the side-by-side store rather than the system folder.
    HMODULE comctl = LoadLibraryA("comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    char path[MAX_PATH] = "";
    GetModuleFileNameA(comctl, path, sizeof path);
    FreeLibrary(comctl);
    std::string loaded(path);
    for (char& c : loaded)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_NE(loaded.find("common-controls_6595b64144ccf1df_6.0."), std::string::npos) << path;
}
