#include "tools/rcon/ListAccess.h"

#include <fmt/format.h>

#include "host-bridge/Platform.h"
#include "common/PrintableText.h"

#if defined(_WIN32)
#include <windows.h>
// The access lists and the account names, which need windows.h first.
#include <aclapi.h>
#include <sddl.h>

#include <memory>
#include <vector>
#else
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#endif

namespace RconTool {
namespace {

#if defined(_WIN32)
// "DOMAIN\name" of an account, or its SID as text when it has no name here.
std::string AccountName(PSID sid) {
  wchar_t name[256];
  wchar_t domain[256];
  DWORD nameSize = 256;
  DWORD domainSize = 256;
  SID_NAME_USE use{};
  if (LookupAccountSidW(nullptr, sid, name, &nameSize, domain, &domainSize, &use) != 0) {
    return Platform::Utf8FromWide(
        (domainSize > 0 ? std::wstring(domain) + L"\\" + name : std::wstring(name)).c_str());
  }
  wchar_t* text = nullptr;
  if (ConvertSidToStringSidW(sid, &text) == 0) return "an account without a name";
  std::string shown = Platform::Utf8FromWide(text);
  LocalFree(text);
  return shown;
}

// The account the program runs as; empty when it cannot be told.
std::vector<unsigned char> CurrentUser() {
  HANDLE token = nullptr;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) == 0) return {};
  DWORD size = 0;
  GetTokenInformation(token, TokenUser, nullptr, 0, &size);
  std::vector<unsigned char> user(size);
  if (size == 0 || GetTokenInformation(token, TokenUser, user.data(), size, &size) == 0) {
    user.clear();
  }
  CloseHandle(token);
  return user;
}

std::string ErrorText(DWORD error) {
  wchar_t* text = nullptr;
  FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  if (text == nullptr) return fmt::format("error {}", error);
  std::string shown = Platform::Utf8FromWide(text);
  LocalFree(text);
  while (!shown.empty() && (shown.back() == '\n' || shown.back() == '\r')) shown.pop_back();
  return shown;
}

// The accounts other than the owner, the user, the system and the administrators that the file's
// access list lets read it, joined; empty when none. None when the list cannot be read.
std::optional<std::string> OtherReaders(const std::string& path, std::string& why) {
  PSID owner = nullptr;
  PACL access = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  const DWORD error = GetNamedSecurityInfoW(Platform::WideFromUtf8(path).c_str(), SE_FILE_OBJECT,
                                            OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                            &owner, nullptr, &access, nullptr, &descriptor);
  if (error != ERROR_SUCCESS) {
    why = ErrorText(error);
    return std::nullopt;
  }
  const std::unique_ptr<void, decltype(&LocalFree)> held(descriptor, &LocalFree);
  if (access == nullptr) return std::string("everyone (the file has no access list)");
  const std::vector<unsigned char> user = CurrentUser();
  const PSID self =
      user.empty() ? nullptr : reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid;
  std::string readers;
  for (DWORD i = 0; i < access->AceCount; ++i) {
    void* entry = nullptr;
    if (GetAce(access, i, &entry) == 0) continue;
    const auto* header = static_cast<ACE_HEADER*>(entry);
    if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERIT_ONLY_ACE) != 0) {
      continue;
    }
    auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
    if ((allowed->Mask & (FILE_READ_DATA | GENERIC_READ | GENERIC_ALL)) == 0) continue;
    const PSID sid = &allowed->SidStart;
    if ((owner != nullptr && EqualSid(sid, owner) != 0) ||
        (self != nullptr && EqualSid(sid, self) != 0) ||
        IsWellKnownSid(sid, WinLocalSystemSid) != 0 ||
        IsWellKnownSid(sid, WinBuiltinAdministratorsSid) != 0) {
      continue;
    }
    readers += (readers.empty() ? "" : ", ") + AccountName(sid);
  }
  return readers;
}
#endif

}  // namespace

std::optional<std::string> ReadableByOthers(const std::string& path) {
  const std::string shown = Printable(path);
#if defined(_WIN32)
  std::string why;
  const std::optional<std::string> readers = OtherReaders(path, why);
  if (!readers) {
    return fmt::format(
        "cannot tell whether other users can read {}, which holds passwords: its "
        "access list cannot be read ({})",
        shown, why);
  }
  if (readers->empty()) return std::nullopt;
  return fmt::format(
      "{} holds passwords and other users can read it ({}): make it yours alone, with "
      "icacls \"{}\" /inheritance:r /grant:r \"%USERNAME%:F\"",
      shown, Printable(*readers), shown);
#else
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) {
    return fmt::format("cannot tell whether other users can read {}, which holds passwords: {}",
                       shown, std::strerror(errno));
  }
  if ((status.st_mode & (S_IRGRP | S_IROTH)) == 0) return std::nullopt;
  return fmt::format(
      "{} holds passwords and other users can read it (mode {:04o}): make it yours alone, with "
      "chmod 600 {}",
      shown, status.st_mode & 07777, shown);
#endif
}

}  // namespace RconTool
