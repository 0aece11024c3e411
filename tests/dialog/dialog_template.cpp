#include "tests/dialog/dialog_template.h"

#include <cctype>

namespace {

class TemplateReader {
  public:
    TemplateReader(const BYTE* data, std::size_t size) : data_(data), size_(size) {}

    bool ok() const { return ok_; }
    std::uint16_t word() { return static_cast<std::uint16_t>(take(2)); }
    std::uint32_t dword() { return static_cast<std::uint32_t>(take(4)); }
    short coordinate() { return static_cast<short>(word()); }
    std::uint8_t byte() { return static_cast<std::uint8_t>(take(1)); }
    void alignTo(std::size_t bytes) { offset_ = (offset_ + bytes - 1) / bytes * bytes; }
    void skip(std::size_t bytes) {
        offset_ += bytes;
        ok_ = ok_ && offset_ <= size_;
    }

    std::string string() {
        std::string text;
        for (std::uint16_t c = word(); ok_ && c != 0; c = word())
            text.push_back(c < 0x80 ? static_cast<char>(c) : '?');
        return text;
    }

    // sz_Or_Ord: 0 for none, 0xFFFF and an ordinal, or a string.
    TemplateText textOrOrdinal() {
        TemplateText result;
        std::uint16_t first = word();
        if (first == 0xFFFF) {
            result.isOrdinal = true;
            result.ordinal = word();
        } else if (first != 0) {
            offset_ -= 2;
            result.text = string();
        }
        return result;
    }

  private:
    std::uint32_t take(std::size_t bytes) {
        if (!ok_ || offset_ + bytes > size_) {
            ok_ = false;
            return 0;
        }
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < bytes; ++i)
            value |= static_cast<std::uint32_t>(data_[offset_ + i]) << (8 * i);
        offset_ += bytes;
        return value;
    }

    const BYTE* data_;
    std::size_t size_;
    std::size_t offset_ = 0;
    bool ok_ = true;
};

std::string predefinedClassName(std::uint16_t atom) {
    switch (atom) {
    case 0x80:
        return "button";
    case 0x81:
        return "edit";
    case 0x82:
        return "static";
    case 0x83:
        return "listbox";
    case 0x84:
        return "scrollbar";
    case 0x85:
        return "combobox";
    default:
        return std::string(1, '#').append(std::to_string(atom));
    }
}

std::string lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

bool readDialogTemplate(HMODULE module, int id, DialogTemplate& dialog) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5)); // RT_DIALOG
    if (!found)
        return false;
    HGLOBAL loaded = LoadResource(module, found);
    const auto* data = static_cast<const BYTE*>(LockResource(loaded));
    if (!data)
        return false;
    TemplateReader in(data, SizeofResource(module, found));

    if (in.word() != 1 || in.word() != 0xFFFF)
        return false;
    in.dword(); // help id
    dialog.exStyle = in.dword();
    dialog.style = in.dword();
    std::uint16_t count = in.word();
    dialog.x = in.coordinate();
    dialog.y = in.coordinate();
    dialog.cx = in.coordinate();
    dialog.cy = in.coordinate();
    dialog.menu = in.textOrOrdinal();
    dialog.windowClass = in.textOrOrdinal();
    dialog.caption = in.string();
    if (dialog.style & (DS_SETFONT | DS_SHELLFONT)) {
        dialog.pointSize = in.word();
        in.word(); // weight
        in.byte(); // italic
        in.byte(); // character set
        dialog.typeface = in.string();
    }
    for (std::uint16_t i = 0; i < count && in.ok(); ++i) {
        in.alignTo(4);
        TemplateControl control;
        in.dword(); // help id
        control.exStyle = in.dword();
        control.style = in.dword();
        control.x = in.coordinate();
        control.y = in.coordinate();
        control.cx = in.coordinate();
        control.cy = in.coordinate();
        control.id = static_cast<std::int32_t>(in.dword());
        TemplateText windowClass = in.textOrOrdinal();
        control.className = windowClass.isOrdinal ? predefinedClassName(windowClass.ordinal)
                                                  : lower(windowClass.text);
        control.text = in.textOrOrdinal();
        in.skip(in.word()); // creation data
        dialog.controls.push_back(control);
    }
    return in.ok();
}
