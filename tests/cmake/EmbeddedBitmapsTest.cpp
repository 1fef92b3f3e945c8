// Libraries given bitmaps with vt_embed_bitmaps answer them by id through their
// own module handles, side by side in one process.
#include <windows.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#if !defined(_WIN32)
#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#endif

namespace {

struct Size {
    LONG width;
    LONG height;
    bool operator==(const Size&) const = default;
};

[[maybe_unused]] std::ostream& operator<<(std::ostream& out, const Size& size) {
    return out << size.width << " x " << size.height;
}

const Size absent{0, 0};

#if defined(_WIN32)
class Library {
public:
    explicit Library(const std::string& name) : module(LoadLibraryA((name + ".dll").c_str())) {}
    ~Library() {
        if (module != nullptr) FreeLibrary(module);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    HINSTANCE instance() const { return module; }

private:
    HMODULE module;
};
#else
std::string besideTestProgram(const std::string& fileName) {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return fileName;
    const std::string program(path, static_cast<std::size_t>(length));
    return program.substr(0, program.rfind('/') + 1) + fileName;
}

class Library {
public:
    explicit Library(const std::string& name)
        : path(besideTestProgram(name + ".so")), handle(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
        Dl_info info{};
        void* entry = handle != nullptr ? dlsym(handle, "VSTPluginMain") : nullptr;
        // The module handle the library registers under is its load address.
        if (entry != nullptr && dladdr(entry, &info) != 0) base = info.dli_fbase;
    }
    ~Library() { unload(); }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    HINSTANCE instance() const { return static_cast<HINSTANCE>(base); }

    void unload() {
        if (handle != nullptr) dlclose(handle);
        handle = nullptr;
    }

    bool stillLoaded() const { return dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD) != nullptr; }

private:
    std::string path;
    void* handle;
    void* base = nullptr;
};
#endif

Size bitmapSize(HINSTANCE module, int id) {
    HBITMAP bitmap = LoadBitmapA(module, MAKEINTRESOURCEA(id));
    if (bitmap == nullptr) return absent;
    BITMAP info{};
    const int copied = GetObjectA(bitmap, sizeof info, &info);
    DeleteObject(bitmap);
    if (copied == 0) return absent;
    return {info.bmWidth, info.bmHeight};
}

TEST(EmbeddedBitmaps, eachLibraryAnswersItsOwnPicturesById) {
    Library one("bitmap_fixture_one");
    Library two("bitmap_fixture_two");
    ASSERT_NE(one.instance(), nullptr);
    ASSERT_NE(two.instance(), nullptr);

    const struct {
        const Library& library;
        int id;
        Size size;
    } cases[] = {
        {one, 101, {3, 2}},  // 24-bit
        {one, 102, {4, 4}},  // 8-bit palettised
        {one, 103, absent},
        {two, 101, {5, 1}},  // the same id, another library's picture
        {two, 102, absent},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(bitmapSize(c.library.instance(), c.id), c.size)
            << "library " << (&c.library == &one ? "one" : "two") << ", id " << c.id;
    }
}

#if !defined(_WIN32)
// The registered bytes live in the library; none may be answered once it is gone.
TEST(EmbeddedBitmaps, unloadingALibraryWithdrawsItsPictures) {
    Library one("bitmap_fixture_one");
    Library two("bitmap_fixture_two");
    const HINSTANCE instance = one.instance();
    ASSERT_EQ(bitmapSize(instance, 101), (Size{3, 2}));

    one.unload();
    ASSERT_FALSE(one.stillLoaded());
    EXPECT_EQ(bitmapSize(instance, 101), absent);
    EXPECT_EQ(bitmapSize(instance, 102), absent);
    EXPECT_EQ(bitmapSize(two.instance(), 101), (Size{5, 1}));
}
#endif

}  // namespace
