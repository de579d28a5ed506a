// The on-screen notification text of a refused mission start, made from "DisabledMessage".
#pragma once

#include <string>

#include "host/FString.h"

// `message` (UTF-8) through the formatter with no arguments: "{{" and "}}" show as single braces.
// Throws fmt::format_error for a lone brace or a replacement field such as "{}".
FString FormatNotification(const std::string& message);
