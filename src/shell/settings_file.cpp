#include "shell/settings_file.h"

#include <cstdint>
#include <cstdio>
#include <fstream>

#include "ui/controls.h"

namespace pentaro {
namespace {

// One record: the length, then length + 1 bytes ending in a zero byte. Nothing when the file
// ends early, or when the length is negative or would not fit the 80-byte buffer.
bool readRecord(std::ifstream& in, std::string& text) {
  unsigned char length[2];
  if (!in.read(reinterpret_cast<char*>(length), 2)) return false;
  const auto bytes = static_cast<std::int16_t>(length[0] | length[1] << 8);
  if (bytes < 0 || bytes + 1 > SettingsFile::kBufferBytes) return false;
  char buffer[SettingsFile::kBufferBytes] = {};
  if (!in.read(buffer, bytes + 1)) return false;
  text.assign(buffer);  // up to the first zero byte
  return true;
}

void writeRecord(std::ofstream& out, const std::string& text) {
  const auto bytes = static_cast<std::uint16_t>(text.size());
  const char length[2] = {static_cast<char>(bytes & 0xFF), static_cast<char>(bytes >> 8)};
  out.write(length, 2);
  out.write(text.c_str(), static_cast<std::streamsize>(text.size() + 1));
}

}  // namespace

void SettingsFile::load(Window& window) const {
  std::ifstream in(path_, std::ios::binary);
  if (!in) return;
  std::string text;
  if (!readRecord(in, text)) return;
  window.setText(IDC_PLAYER_NAME, text);
  if (!readRecord(in, text)) return;
  window.setText(IDC_SERVER_ADDRESS, text);
}

bool SettingsFile::save(const Window& window) const {
  // Written beside the old file and renamed over it, so a crash while saving keeps the old one.
  const std::string temporary = path_ + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    writeRecord(out, window.text(IDC_PLAYER_NAME, kTextReadBytes));
    writeRecord(out, window.text(IDC_SERVER_ADDRESS, kTextReadBytes));
    out.flush();
    if (!out) {
      out.close();
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), path_.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace pentaro
