// The on-screen notification text of a refused mission start, made from "DisabledMessage".
#pragma once

#include <string>

#include "host-bridge/FString.h"

// `message` (UTF-8) as an engine string and that through the formatter with no arguments: "{{"
// and "}}" show as single braces. Both strings live as long as this, so a caller that shows the
// text releases them only after the notification. Constructing throws fmt::format_error for a
// lone brace or a replacement field such as "{}".
class NotificationText {
 public:
  explicit NotificationText(const std::string& message);

  const FString& Formatted() const { return formatted_; }

 private:
  FString configured_;
  FString formatted_;
};
