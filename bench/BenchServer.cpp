#include "BenchServer.h"

#include <stdexcept>

#include "plugin/QuestVetoClient.h"
#include "tests/support/OwnExportName.h"

namespace {

const char* const kNameQuery = OwnExportName(QuestVetoClient::kByDisplayName);

}  // namespace

void BenchServer::LoadPlugin() {
  query_ =
      reinterpret_cast<NameQuery>(ScratchServer::LoadPlugin(QV_PLUGIN_PATH).Symbol(kNameQuery));
  if (query_ == nullptr) {
    throw std::runtime_error(std::string(QV_PLUGIN_PATH) + " exports no " + kNameQuery);
  }
}
