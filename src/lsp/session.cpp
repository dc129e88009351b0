#include "lsp/session.h"

#include <system_error>

#include "jsonrpc/json_text.h"

namespace tarnu::lsp {
namespace {

using jsonrpc::Error;
using jsonrpc::json;
namespace codes = jsonrpc::codes;

Error error(int code, std::string message) { return {code, std::move(message), std::nullopt}; }

asio::awaitable<Outcome> ready(Outcome outcome) { co_return outcome; }

asio::awaitable<std::optional<std::string>> nothing() { co_return std::nullopt; }

jsonrpc::WorkItem no_reply() { return {nothing(), nullptr}; }

}  // namespace

jsonrpc::WorkItem Session::dispatch(jsonrpc::Call call) {
  const Method* method = find_method(call.method);
  if (!method) {
    // Names under "$/" are optional to implement, so their requests go unanswered.
    if (!call.id || call.method.starts_with("$/")) return no_reply();
    return reply(std::move(call.id), nullptr,
                 ready(Error{codes::method_not_found, "Method not found", json(std::move(call.method))}), false);
  }
  return dispatch_known(*method, call);
}

jsonrpc::WorkItem Session::dispatch_known(const Method& method, jsonrpc::Call& call) {
  const bool is_request = call.id.has_value();
  const bool is_initialize = method.name == "initialize";
  const bool is_cancel = method.name == "$/cancelRequest";

  if (method.name == "exit") {
    exit();
    return no_reply();
  }
  if (auto refusal = lifecycle_refusal(method)) {
    if (!is_request) return no_reply();
    return reply(std::move(call.id), nullptr, ready(std::move(*refusal)), false);
  }

  PendingPtr pending;
  if (is_request && !is_cancel) {
    if (pending_.contains(*call.id))  // the earlier request with this id goes on undisturbed
      return reply(std::move(call.id), nullptr, ready(error(codes::invalid_request, "Invalid request")), false);
    pending = std::make_shared<Pending>();
    pending_.emplace(*call.id, pending);
  }

  // Kind check: a notification sent as a request is refused, a request sent as a notification dropped.
  if (method.kind == MethodKind::notification && is_request)
    return reply(std::move(call.id), pending, ready(error(codes::invalid_request, "Invalid request")),
                 is_initialize);
  if (method.kind == MethodKind::request && !is_request) return reply(std::nullopt, nullptr, ready(json()), is_initialize);

  std::optional<std::string> invalid;
  if (method.params == ParamsRule::none && call.params) {
    invalid = "Unexpected params: " + jsonrpc::to_json_text(*call.params);
  } else if (method.params == ParamsRule::required && !call.params) {
    invalid = "Missing params field";
  }
  if (!invalid && is_cancel) {
    auto decoded = decode_cancel_params(call.params);
    if (auto* id = std::get_if<jsonrpc::Id>(&decoded)) {
      cancel(*id);
      return no_reply();
    }
    invalid = std::move(std::get<std::string>(decoded));
  }
  if (!invalid) {
    auto bound = method.bind(server_, call.params);
    if (auto* work = std::get_if<asio::awaitable<Outcome>>(&bound))
      return reply(std::move(call.id), std::move(pending), std::move(*work), is_initialize);
    invalid = std::move(std::get<std::string>(bound));
  }
  if (!is_request) return no_reply();
  return reply(std::move(call.id), std::move(pending), ready(error(codes::invalid_params, std::move(*invalid))),
               is_initialize);
}

std::optional<jsonrpc::Error> Session::lifecycle_refusal(const Method& method) {
  auto state = state_.load();
  auto refuse_by_state = [state]() -> std::optional<Error> {
    if (state == ConnectionState::Uninitialized)
      return error(codes::server_not_initialized, "Server not initialized");
    return error(codes::invalid_request, "Invalid request");
  };
  if (method.name == "$/cancelRequest") return std::nullopt;
  if (method.name == "initialize") {
    if (state == ConnectionState::Uninitialized) return std::nullopt;
    return error(codes::invalid_request, "Invalid request");
  }
  if (state != ConnectionState::Initialized) return refuse_by_state();
  if (method.name == "shutdown") state_ = ConnectionState::ShutDown;  // before its parameters are looked at
  return std::nullopt;
}

void Session::exit() {
  state_ = ConnectionState::Exited;
  auto pending = std::move(pending_);
  pending_.clear();
  for (auto& [id, request] : pending) {
    request->cancelled = true;
    request->signal.emit(asio::cancellation_type::terminal);
  }
  client_.close();
}

void Session::cancel(const jsonrpc::Id& id) {
  auto it = pending_.find(id);
  if (it == pending_.end()) return;
  auto request = std::move(it->second);
  pending_.erase(it);
  request->cancelled = true;
  request->signal.emit(asio::cancellation_type::terminal);
}

jsonrpc::WorkItem Session::reply(std::optional<jsonrpc::Id> id, PendingPtr pending, asio::awaitable<Outcome> work,
                                 bool records_initialize) {
  if (!id) return {perform(std::move(work), records_initialize), nullptr};
  std::shared_ptr<asio::cancellation_signal> cancel;
  if (pending) cancel = std::shared_ptr<asio::cancellation_signal>(pending, &pending->signal);
  return {respond(std::move(*id), std::move(pending), std::move(work), records_initialize), std::move(cancel)};
}

// Runs the work of a message without an id: a notification, or a request sent as one. Nobody can be
// told of a failure, so there is nothing to do with one. An initialize that gets no reply did not succeed.
asio::awaitable<std::optional<std::string>> Session::perform(asio::awaitable<Outcome> work, bool records_initialize) {
  try {
    co_await std::move(work);
  } catch (const std::exception&) {
  }
  if (records_initialize && state_ != ConnectionState::Exited) state_ = ConnectionState::Uninitialized;
  co_return std::nullopt;
}

// Produces exactly one reply for a request, whatever happens to its work.
asio::awaitable<std::optional<std::string>> Session::respond(jsonrpc::Id id, PendingPtr pending,
                                                             asio::awaitable<Outcome> work, bool records_initialize) {
  auto cancelled = [&pending] { return pending && pending->cancelled; };
  std::optional<Outcome> outcome;
  if (!cancelled()) {  // a request cancelled before it started does not start
    try {
      outcome = co_await std::move(work);
    } catch (const std::system_error& failure) {
      if (!cancelled()) outcome = error(codes::internal_error, failure.what());
    } catch (const std::exception& failure) {
      outcome = error(codes::internal_error, failure.what());
    }
  }
  if (cancelled()) outcome = error(codes::request_cancelled, "Canceled");

  std::string text;
  if (auto* result = std::get_if<json>(&*outcome)) {
    try {
      text = jsonrpc::encode_result(id, *result);
    } catch (const jsonrpc::JsonWriteError& failure) {
      outcome = error(codes::internal_error, failure.what());
    }
  }
  if (auto* failure = std::get_if<Error>(&*outcome)) text = jsonrpc::encode_error(id, *failure);

  if (pending) {
    auto it = pending_.find(id);
    if (it != pending_.end() && it->second == pending) pending_.erase(it);
  }
  if (records_initialize && state_ != ConnectionState::Exited) {
    state_ = std::holds_alternative<json>(*outcome) ? ConnectionState::Initialized : ConnectionState::Uninitialized;
  }
  co_return text;
}

}  // namespace tarnu::lsp
