#include "raster/picture_file.h"
#include "platform/com_ref.h"
#include "platform/global_memory.h"
#include "platform/kernel_handles.h"

#include <cstring>
#include <ocidl.h>
#include <olectl.h>

namespace {
// The whole file in one fixed global block, or an empty owner. The file is closed when
// this returns, whatever the read gave.
GlobalMemory readWholeFile(const char* path, DWORD& size) {
    KernelHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return {};
    // A low part of all ones is a real size when the last error stays 0.
    SetLastError(ERROR_SUCCESS);
    DWORD high = 0;
    DWORD low = GetFileSize(file.get(), &high);
    if (low == INVALID_FILE_SIZE && GetLastError() != ERROR_SUCCESS)
        return {};
    // 4 GiB or more cannot be read in one piece; refused before any read.
    if (high != 0 || low == 0)
        return {};
    GlobalMemory block(GlobalAlloc(GMEM_FIXED, low));
    if (!block)
        return {};
    DWORD read = 0;
    if (!ReadFile(file.get(), block.get(), low, &read, nullptr) || read != low)
        return {};
    size = low;
    return block;
}

// Decodes the picture in the first size bytes of a global block, which stays the caller's.
HBITMAP decodePicture(HGLOBAL block, DWORD size) {
    // Declared in this order so that the picture goes first, then the stream; the block
    // outlives both.
    ComRef<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(block, FALSE, stream.receive())))
        return nullptr;
    // fRunmode FALSE, so that the picture owns its bitmap: Wine makes a picture the owner
    // only then (with TRUE every decoded bitmap stayed behind after the picture's release).
    ComRef<IPicture> picture;
    if (FAILED(OleLoadPicture(stream.get(), static_cast<LONG>(size), FALSE, IID_IPicture,
                              picture.receiveVoid())) ||
        !picture)
        return nullptr;
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Handle(&handle)) || handle == 0)
        return nullptr;
    // The picture's own bitmap dies with the picture; the copy is the caller's.
    return static_cast<HBITMAP>(CopyImage(reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(handle)),
                                          IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}
} // namespace

HBITMAP loadPictureFile(const char* path) {
    if (!path)
        return nullptr;
    DWORD size = 0;
    GlobalMemory block = readWholeFile(path, size);
    if (!block)
        return nullptr;
    return decodePicture(block.get(), size);
}

HBITMAP loadPictureFromMemory(const void* bytes, std::uint32_t size) {
    if (!bytes || size == 0)
        return nullptr;
    GlobalMemory block(GlobalAlloc(GMEM_FIXED, size));
    if (!block)
        return nullptr;
    std::memcpy(block.get(), bytes, size);
    return decodePicture(block.get(), size);
}
