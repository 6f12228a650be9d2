#include "ui/chat_log.h"

namespace pentaro {

bool ChatLog::add(std::string_view line) {
  const bool full = text_.size() >= kLimitBytes;
  if (full) text_.clear();
  text_ += line;
  text_ += "\r\n";
  return full;
}

}  // namespace pentaro
