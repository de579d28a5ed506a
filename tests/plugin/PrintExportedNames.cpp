// Prints the names under which QuestVetoClient.h looks QuestVeto's query up, one
// "<query> <form> <name>" a line, as this build's compiler sees the header; exported_names.py
// checks them against what each compiler makes of the declarations.
#include <cstdio>

#include "QuestVetoClient.h"

namespace {

void Print(const char* query, const QuestVetoClient::ExportedNames& names) {
  std::printf("%s Itanium %s\n", query, names.Itanium);
  std::printf("%s MsvcStruct %s\n", query, names.MsvcStruct);
  std::printf("%s MsvcClass %s\n", query, names.MsvcClass);
}

}  // namespace

int main() {
  Print("ByDisplayName", QuestVetoClient::kByDisplayName);
  Print("ByMission", QuestVetoClient::kByMission);
  return 0;
}
