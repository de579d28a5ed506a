#include "plugin/Notification.h"

FString FormatNotification(const std::string& message) {
  const FString text = FString::FromUtf8(message);
  return FString::Format(text.Text());
}
