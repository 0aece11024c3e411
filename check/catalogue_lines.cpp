#include "check/catalogue_lines.h"
#include "check/system_message.h"
#include "platform/kernel_handles.h"

#include <windows.h>
#include <cctype>

namespace {

std::string trimmed(const std::string& text) {
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

// A file that begins with a UTF-16 signature is read by the profile functions as UTF-16
// text; its locations are the same in the active code page.
std::string asCodePageText(const std::string& bytes) {
    const bool little = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE';
    const bool big = bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF';
    if (!little && !big) {
        if (bytes.rfind("\xEF\xBB\xBF", 0) == 0)
            return bytes.substr(3);
        return bytes;
    }
    std::wstring wide;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        unsigned char a = static_cast<unsigned char>(bytes[i]);
        unsigned char b = static_cast<unsigned char>(bytes[i + 1]);
        wide.push_back(static_cast<wchar_t>(little ? (b << 8 | a) : (a << 8 | b)));
    }
    int length = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                     0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                            length, nullptr, nullptr);
    return text;
}

} // namespace

bool sameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                          b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

bool CatalogueLines::read(const std::string& path, std::string& error) {
    sections_.clear();
    nulBytes_ = false;
    empty_ = true;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        error = "is a folder, not a catalogue";
        return false;
    }
    KernelHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        error = systemMessage(GetLastError());
        return false;
    }
    LARGE_INTEGER size = {};
    // The profile functions read no more than this either; a larger file is no catalogue.
    constexpr LONGLONG kLargest = 64LL << 20;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > kLargest) {
        error = size.QuadPart > kLargest ? "is larger than 64 MiB: no catalogue is"
                                         : systemMessage(GetLastError());
        return false;
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!bytes.empty() &&
        (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
         got != bytes.size())) {
        error = systemMessage(GetLastError());
        return false;
    }
    index(asCodePageText(bytes));
    return true;
}

void CatalogueLines::index(const std::string& text) {
    nulBytes_ = text.find('\0') != std::string::npos;
    empty_ = text.find_first_not_of(" \t\r\n") == std::string::npos;
    int line = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        ++line;
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        const std::string content = trimmed(text.substr(start, end - start));
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() &&
            text[end + 1] == '\n')
            ++end;
        start = end + 1;
        if (content.empty() || content[0] == ';')
            continue;
        if (content[0] == '[') {
            std::size_t close = content.find(']');
            sections_.push_back(
                {trimmed(
                     content.substr(1, close == std::string::npos ? std::string::npos : close - 1)),
                 line,
                 {}});
            continue;
        }
        if (sections_.empty())
            continue; // keys before any section belong to none
        std::size_t equals = content.find('=');
        CatalogueKey key;
        key.name = trimmed(content.substr(0, equals));
        key.line = line;
        key.valueLength =
            equals == std::string::npos ? 0 : trimmed(content.substr(equals + 1)).size();
        sections_.back().keys.push_back(key);
    }
}

const CatalogueSection* CatalogueLines::section(const std::string& name) const {
    for (const CatalogueSection& section : sections_)
        if (sameName(section.name, name))
            return &section;
    return nullptr;
}

int CatalogueLines::lineOf(const std::string& sectionName, const std::string& key) const {
    const CatalogueSection* found = section(sectionName);
    if (!found)
        return 0;
    if (!key.empty())
        for (const CatalogueKey& k : found->keys)
            if (sameName(k.name, key))
                return k.line;
    return found->line;
}
