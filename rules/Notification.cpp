#include "rules/Notification.h"

NotificationText::NotificationText(const std::string& message)
    : configured_(FString::FromUtf8(message)), formatted_(FString::Format(configured_.Text())) {}
