// Zarvic on a fresh simulated device for one fuzz input, and the pieces of that input.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/sim/device.h"
#include "platform/sim/sim_api.h"

namespace zarvic_fuzz {

inline const std::u16string kExeDir = u"\\Program Files\\Zarvic";
inline const std::u16string kExePath = kExeDir + u"\\Zarvic.exe";
inline const std::u16string kDataPath = kExeDir + u"\\ZarvicDat.bin";

// A property every input must keep; a broken one ends the run as a crash would.
#define FUZZ_CHECK(condition)                                                         \
    do {                                                                              \
        if (!(condition)) {                                                           \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                             \
        }                                                                             \
    } while (0)

// Hands out the input's bytes front to back; past its end every piece is empty.
class InputBytes {
public:
    InputBytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::vector<uint8_t> Take(size_t n);
    std::vector<uint8_t> Rest() { return Take(size_ - at_); }
    // A piece whose length is the next byte.
    std::vector<uint8_t> Piece() { return Take(Byte()); }
    static std::u16string Units(const std::vector<uint8_t>& bytes);  // little-endian, an odd byte dropped

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

// A data file with a hot-key set (Ctrl+Alt+letter) and the preview as given.
std::vector<uint8_t> DataFileWithHotKey(char16_t letter, bool toolTip);
// Puts Zarvic.exe on the device (with this data file, unless none) and starts it; closes
// the start-up hint if one comes.
int StartZarvic(sim::Device& device);
HWND MainWindow(sim::Device& device);
// Answers every open message box: a question with `answer` (IDYES, otherwise No), any
// other box with OK.
void AnswerBoxes(sim::Device& device, int answer);
// Closes Zarvic as another program would and checks that it ended and left nothing.
void CloseZarvic(sim::Device& device, int zarvic);
// Runs a tray command as the tray menu does.
void Command(sim::Device& device, int id);

}  // namespace zarvic_fuzz
