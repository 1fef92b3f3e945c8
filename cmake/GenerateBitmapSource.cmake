# Run as a script by vt_embed_bitmaps: writes OUTPUT, a C++ source holding the
# bytes of FILES and registering them under IDS (lists of the same length)
# while the library is loaded.

list(LENGTH IDS count)
math(EXPR last "${count} - 1")

set(arrays "")
set(table "")
foreach(index RANGE 0 ${last})
  list(GET IDS ${index} id)
  list(GET FILES ${index} file)
  file(READ ${file} hex HEX)
  # Sixteen bytes to a line.
  string(REGEX REPLACE "(................................)" "\\1\n" hex "${hex}")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  get_filename_component(name ${file} NAME)
  string(APPEND arrays "// ${name}\nconst unsigned char bitmap${id}[] = {\n${bytes}\n};\n\n")
  string(APPEND table "    {${id}, bitmap${id}, sizeof bitmap${id}},\n")
endforeach()

set(content "// Generated from the library's bitmaps when it is built; edit those, not this.
#include <windows.h>

#include <cstddef>
#include <vtplatform/PlatformHost.h>

#include \"ModuleInstance.h\"

namespace {

${arrays}struct EmbeddedBitmap {
    int id;
    const unsigned char* bytes;
    std::size_t size;
};

const EmbeddedBitmap embeddedBitmaps[] = {
${table}};

// A namespace-scope object is constructed after the start-up constructor that
// stores moduleInstance (priority 101), and destroyed while the platform layer
// still stands: at unloading and at exit alike, what was registered last is
// finalised first.
class BitmapRegistration {
public:
    BitmapRegistration() {
        // Without a module handle the pictures could only be registered under
        // the null handle, which names no library; the editor then goes without.
        if (module == nullptr) return;
        for (const EmbeddedBitmap& bitmap : embeddedBitmaps) {
            // A picture that could not be registered is absent, and the editor
            // leaves out what needs it.
            try {
                static_cast<void>(vtplatform::registerBitmap(module, bitmap.id, bitmap.bytes, bitmap.size));
            } catch (...) {
            }
        }
    }

    ~BitmapRegistration() {
        if (module == nullptr) return;
        // The bytes go away with the library, so no registration may outlive it.
        for (const EmbeddedBitmap& bitmap : embeddedBitmaps) {
            try {
                vtplatform::unregisterBitmap(module, bitmap.id);
            } catch (...) {
            }
        }
    }

    BitmapRegistration(const BitmapRegistration&) = delete;
    BitmapRegistration& operator=(const BitmapRegistration&) = delete;

private:
    HINSTANCE module = static_cast<HINSTANCE>(moduleInstance);
};

const BitmapRegistration registration;

}  // namespace
")

file(WRITE ${OUTPUT} "${content}")
