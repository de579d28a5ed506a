#include "BenchServer.h"

#include <stdexcept>

namespace {

// The exported name of QuestVeto::IsMissionDisabled(const FString&).
const char* const kNameQuery = "_ZN9QuestVeto17IsMissionDisabledERK7FString";

}  // namespace

void BenchServer::LoadPlugin() {
  query_ = reinterpret_cast<NameQuery>(server_.LoadPlugin(QV_PLUGIN_PATH).Symbol(kNameQuery));
  if (query_ == nullptr) {
    throw std::runtime_error(std::string(QV_PLUGIN_PATH) + " exports no " + kNameQuery);
  }
}
