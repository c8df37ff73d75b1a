#include "ui/framework/Image.h"

#include "base/ScopedHandle.h"
#include "ui/framework/Drawing.h"

#include <cstring>

namespace {

struct GlobalMemTraits {
    using Type = HGLOBAL;
    static Type Invalid() { return nullptr; }
    static bool IsInvalid(Type h) { return h == nullptr; }
    static void Close(Type h) { GlobalFree(h); }
};
using UniqueGlobalMem = UniqueResource<GlobalMemTraits>;

// The resource's bytes in a movable block that a stream can own.
UniqueGlobalMem CopyResource(int resourceId, HMODULE module, const wchar_t* resourceType)
{
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resourceId), resourceType);
    if (found == nullptr) {
        return UniqueGlobalMem();
    }
    const DWORD size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr || size == 0) {
        return UniqueGlobalMem();
    }
    UniqueGlobalMem block(GlobalAlloc(GMEM_MOVEABLE, size));
    void* target = block ? GlobalLock(block.Get()) : nullptr;
    if (target == nullptr) {
        return UniqueGlobalMem();
    }
    std::memcpy(target, bytes, size);
    GlobalUnlock(block.Get());
    return block;
}

}  // namespace

CImage::~CImage() = default;

void CImage::Reset()
{
    bitmap_.reset();
    width_ = 0;
    height_ = 0;
}

void CImage::TakeBitmap(Gdiplus::Bitmap* bitmap)
{
    bitmap_.reset(bitmap);
    if (bitmap_ && bitmap_->GetLastStatus() == Gdiplus::Ok) {
        width_ = static_cast<int>(bitmap_->GetWidth());
        height_ = static_cast<int>(bitmap_->GetHeight());
    }
}

bool CImage::LoadFromResource(int resourceId, HMODULE module, const wchar_t* resourceType)
{
    Reset();
    UniqueGlobalMem block = CopyResource(resourceId, module, resourceType);
    if (!block) {
        return false;
    }
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(block.Get(), TRUE, stream.Put()))) {
        return false;
    }
    block.Release();  // the stream frees it now
    TakeBitmap(Gdiplus::Bitmap::FromStream(stream.Get()));
    if (!IsValid()) {
        Reset();
        return false;
    }
    return true;
}

bool CImage::LoadFromFile(const std::wstring& path)
{
    Reset();
    TakeBitmap(Gdiplus::Bitmap::FromFile(path.c_str()));
    return bitmap_ != nullptr;
}

void CImage::DrawFrame(HDC dc, int x, int y, int width, int height, int index) const
{
    if (!IsValid()) {
        return;
    }
    const int frames = GetFrameCount();
    const int srcX = index >= 0 && index <= frames - 1 ? GetFrameWidth() * index : 0;
    Draw(dc, x, y, width, height, srcX, 0, width, height_);
}

void CImage::Draw(HDC dc, int x, int y, int width, int height, int srcX, int srcY, int srcWidth,
                  int srcHeight) const
{
    if (!IsValid() || dc == nullptr) {
        return;
    }
    draw::Canvas canvas(dc);
    canvas.DrawImage(*this, {x, y, x + width, y + height}, {srcX, srcY, srcX + srcWidth, srcY + srcHeight});
}
