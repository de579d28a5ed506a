// The name under which a QuestVeto built by the compiler building this program exports its query,
// for the tests and benchmarks that load the plugin of their own build.
#pragma once

#include "plugin/QuestVetoClient.h"

inline const char* OwnExportName(const QuestVetoClient::ExportedNames& names) {
#if defined(_MSC_VER)
  return names.MsvcStruct;  // the MSVC ABI, which encodes the declarations' `struct`
#else
  return names.Itanium;
#endif
}
