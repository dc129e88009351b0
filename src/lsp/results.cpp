#include "lsp/results.h"

namespace tarnu::lsp {
namespace {

// Members without a value are left out, never written as null; Json is json or ordered_json, so the one
// function serves both the wire (members sorted) and display (declaration order).
template <class Json>
Json capabilities_json(const ServerCapabilities& capabilities) {
  Json object = Json::object();
  if (capabilities.textDocumentSync) object["textDocumentSync"] = static_cast<int>(*capabilities.textDocumentSync);
  if (capabilities.hoverProvider) object["hoverProvider"] = *capabilities.hoverProvider;
  if (const auto& completion = capabilities.completionProvider) {
    Json options = Json::object();
    if (completion->resolveProvider) options["resolveProvider"] = *completion->resolveProvider;
    if (completion->triggerCharacters) options["triggerCharacters"] = *completion->triggerCharacters;
    object["completionProvider"] = std::move(options);
  }
  return object;
}

}  // namespace

nlohmann::json to_json(const ServerCapabilities& capabilities) {
  return capabilities_json<nlohmann::json>(capabilities);
}

nlohmann::ordered_json to_ordered_json(const ServerCapabilities& capabilities) {
  return capabilities_json<nlohmann::ordered_json>(capabilities);
}

nlohmann::json to_json(const InitializeResult& result) {
  nlohmann::json object = {{"capabilities", to_json(result.capabilities)}};
  if (result.serverInfo) {
    nlohmann::json info = {{"name", result.serverInfo->name}};
    if (result.serverInfo->version) info["version"] = *result.serverInfo->version;
    object["serverInfo"] = std::move(info);
  }
  return object;
}

nlohmann::json to_json(std::optional<Hover>&& hover) {
  if (!hover) return nullptr;
  return {{"contents",
           {{"kind", std::move(hover->contents.kind)}, {"value", std::move(hover->contents.value)}}}};
}

nlohmann::json to_json(std::vector<CompletionItem>&& items) {
  nlohmann::json array = nlohmann::json::array();
  array.get_ref<nlohmann::json::array_t&>().reserve(items.size());
  for (auto& item : items) {
    nlohmann::json object = {{"label", std::move(item.label)}};
    if (item.detail) object["detail"] = std::move(*item.detail);
    array.push_back(std::move(object));
  }
  return array;
}

}  // namespace tarnu::lsp
