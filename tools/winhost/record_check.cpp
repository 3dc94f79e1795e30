// The published layouts: int fields of 4 bytes, pointers and handles of the process's size, the
// two 2x576 byte arrays packed, pointers aligned to their size.
#include "tools/winhost/record_check.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace winhost {
namespace {

constexpr std::size_t P = sizeof(void*);
// Header: version, then the description and getModule pointers (the int padded to a pointer).
constexpr std::size_t kHeaderDescription = P;
constexpr std::size_t kHeaderGetModule = 2 * P;
constexpr std::size_t kHeaderSize = 3 * P;
// Module: three pointers, six ints, the arrays, five pointers.
constexpr std::size_t kSRate = 3 * P;
constexpr std::size_t kLatencyMs = kSRate + 8;
constexpr std::size_t kDelayMs = kSRate + 12;
constexpr std::size_t kSpectrumNch = kSRate + 16;
constexpr std::size_t kWaveformNch = kSRate + 20;
constexpr std::size_t kSpectrumData = kSRate + 24;
constexpr std::size_t kWaveformData = kSpectrumData + 2 * 576;
constexpr std::size_t kConfig = (kWaveformData + 2 * 576 + P - 1) / P * P;
constexpr std::size_t kModuleSize = kConfig + 5 * P;
// What the arithmetic gives for the 32-bit DLL the media player loads.
static_assert(P != 4 || (kConfig == 2340 && kModuleSize == 2360 && kWaveformData == 1188));

template <typename T>
T Read(const void* record, std::size_t offset) {
    T value;
    std::memcpy(&value, static_cast<const unsigned char*>(record) + offset, sizeof value);
    return value;
}

class Checker {
  public:
    Checker(HostLog& log, HINSTANCE image) : log_(log) {
        // The DLL's image, from its PE header: where its code and text must lie.
        const auto* base = reinterpret_cast<const unsigned char*>(image);
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        begin_ = reinterpret_cast<std::uintptr_t>(base);
        end_ = begin_ + nt->OptionalHeader.SizeOfImage;
    }

    void Field(const std::string& what, const std::string& found, bool ok) {
        log_.Line("  " + what + ": " + found + (ok ? "" : "  <- FAIL"));
        ok_ = ok_ && ok;
    }
    static std::string At(const char* record, const char* name, std::size_t offset) {
        return std::string(record) + "." + name + " at +" + std::to_string(offset);
    }
    void Int(const char* record, const void* at, const char* name, std::size_t offset,
             std::int32_t expected) {
        const auto value = Read<std::int32_t>(at, offset);
        Field(At(record, name, offset), std::to_string(value), value == expected);
    }
    void Text(const char* record, const void* at, const char* name, std::size_t offset,
              const char* expected) {
        const auto text = Read<const char*>(at, offset);
        const bool inside = InImage(text);
        const std::string found =
            inside ? "\"" + std::string(text) + "\"" : "a pointer outside the DLL";
        Field(At(record, name, offset), found, inside && std::strcmp(text, expected) == 0);
    }
    void Code(const char* record, const void* at, const char* name, std::size_t offset) {
        const bool inside = InImage(Read<const void*>(at, offset));
        Field(At(record, name, offset), inside ? "code in the DLL" : "not in the DLL", inside);
    }
    void Null(const char* record, const void* at, const char* name, std::size_t offset) {
        const bool null = Read<const void*>(at, offset) == nullptr;
        Field(At(record, name, offset), null ? "null" : "not null", null);
    }
    bool ok() const { return ok_; }

  private:
    bool InImage(const void* p) const {
        const auto at = reinterpret_cast<std::uintptr_t>(p);
        return at >= begin_ && at < end_;
    }

    HostLog& log_;
    std::uintptr_t begin_ = 0;
    std::uintptr_t end_ = 0;
    bool ok_ = true;
};

}  // namespace

bool CheckRecords(const winampVisHeader* header, const winampVisModule* module, HINSTANCE image,
                  HostLog& log) {
    log.Line("records of a " + std::to_string(8 * P) + "-bit process, by the published offsets:");
    Checker c(log, image);
    // This program's declaration must agree, as it is what drives the show afterwards.
    const bool declared = sizeof(winampVisHeader) == kHeaderSize &&
                          sizeof(winampVisModule) == kModuleSize &&
                          offsetof(winampVisModule, latencyMs) == kLatencyMs &&
                          offsetof(winampVisModule, waveformNch) == kWaveformNch &&
                          offsetof(winampVisModule, waveformData) == kWaveformData &&
                          offsetof(winampVisModule, Config) == kConfig &&
                          offsetof(winampVisModule, userData) == kConfig + 4 * P;
    c.Field("layout",
            "header " + std::to_string(kHeaderSize) + " bytes, module " +
                std::to_string(kModuleSize) + " bytes (this host declares " +
                std::to_string(sizeof(winampVisHeader)) + " and " +
                std::to_string(sizeof(winampVisModule)) + ")",
            declared);
    c.Int("header", header, "version", 0, VIS_HDRVER);
    c.Text("header", header, "description", kHeaderDescription, "Tolvek Tech Orvanta v.1a");
    c.Code("header", header, "getModule", kHeaderGetModule);
    c.Text("module", module, "description", 0, "Quenari Tolvek");
    c.Null("module", module, "hwndParent", P);
    c.Null("module", module, "hDllInstance", 2 * P);
    c.Int("module", module, "latencyMs", kLatencyMs, 25);
    c.Int("module", module, "delayMs", kDelayMs, 25);
    c.Int("module", module, "spectrumNch", kSpectrumNch, 0);
    c.Int("module", module, "waveformNch", kWaveformNch, 2);
    c.Code("module", module, "Config", kConfig);
    c.Code("module", module, "Init", kConfig + P);
    c.Code("module", module, "Render", kConfig + 2 * P);
    c.Code("module", module, "Quit", kConfig + 3 * P);
    c.Null("module", module, "userData", kConfig + 4 * P);
    const bool one = header->getModule(1) == nullptr;
    c.Field("header.getModule(1)", one ? "null (one module)" : "a second module", one);
    return c.ok();
}

}  // namespace winhost
