// Decoding of parameters into the protocol's structures, driven by a declarative description of each
// structure: its members, their names and types, whether they may be left out.
//
// Describe a structure once by specialising Structure<T>:
//     template <> struct Structure<Position> {
//       static constexpr auto members = std::tuple{member("line", &Position::line), ...};
//     };
// Members of type std::optional<T> may be absent or null; every other member is required. Members the
// protocol does not define are ignored. Strings are moved out of the JSON value, not copied.
//
// A value that does not fit gives one description that names the member's path, what was expected and
// what was found: "textDocument.position.line: expected an unsigned 32-bit integer, found -1".
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <variant>
#include <vector>

#include <nlohmann/json.hpp>

#include "lsp/types.h"

namespace tarnu::lsp {

using nlohmann::json;

template <class S, class M>
struct Member {
  std::string_view name;
  M S::*pointer;
};

template <class S, class M>
constexpr Member<S, M> member(std::string_view name, M S::*pointer) {
  return {name, pointer};
}

template <class T>
struct Structure;  // specialised for every structure the decoder reads

template <class T>
concept Described = requires { Structure<T>::members; };

// The path of the member being read and the first failure met.
class DecodeContext {
 public:
  // Appends to the path; the returned length restores it.
  std::size_t enter(std::string_view name);
  std::size_t enter(std::size_t index);
  void leave(std::size_t length) { path_.resize(length); }

  bool fail(std::string_view expected, const json* found);
  const std::optional<std::string>& error() const { return error_; }

 private:
  std::string path_;
  std::optional<std::string> error_;
};

// What a JSON value is, in words, for error descriptions.
std::string describe_value(const json* value);
// Whether `text` parses as a URL; gives its normalised form.
std::optional<std::string> normalized_uri(const std::string& text);

template <class T>
struct TypeName;
template <> struct TypeName<bool> { static constexpr std::string_view text = "a boolean"; };
template <> struct TypeName<Integer> { static constexpr std::string_view text = "a 32-bit integer"; };
template <> struct TypeName<UInteger> { static constexpr std::string_view text = "an unsigned 32-bit integer"; };
template <> struct TypeName<std::string> { static constexpr std::string_view text = "a string"; };
template <> struct TypeName<DocumentUri> { static constexpr std::string_view text = "a URL string"; };
template <> struct TypeName<IgnoredObject> { static constexpr std::string_view text = "an object"; };
template <class T> struct TypeName<std::vector<T>> { static constexpr std::string_view text = "an array"; };
template <Described T> struct TypeName<T> { static constexpr std::string_view text = "an object"; };

std::string alternatives_text(std::initializer_list<std::string_view> names);

template <class T>
struct IsVariant : std::false_type {};
template <class... A>
struct IsVariant<std::variant<A...>> : std::true_type {};

// What a member of type T must hold, in words.
template <class T>
std::string expected_text() {
  if constexpr (IsVariant<T>::value) {
    return []<class... A>(std::type_identity<std::variant<A...>>) {
      return alternatives_text({TypeName<A>::text...});
    }(std::type_identity<T>{});
  } else {
    return std::string(TypeName<T>::text);
  }
}

template <class T>
bool read(DecodeContext& context, json& value, T& out);

inline bool read_value(DecodeContext& context, json& value, bool& out) {
  if (!value.is_boolean()) return context.fail(TypeName<bool>::text, &value);
  out = value.get<bool>();
  return true;
}

template <class N>
  requires std::is_same_v<N, Integer> || std::is_same_v<N, UInteger>
bool read_value(DecodeContext& context, json& value, N& out) {
  bool fits = false;
  if (value.is_number_unsigned()) {
    fits = value.get<std::uint64_t>() <= static_cast<std::uint64_t>(std::numeric_limits<N>::max());
  } else if (value.is_number_integer()) {
    auto v = value.get<std::int64_t>();
    fits = v >= static_cast<std::int64_t>(std::numeric_limits<N>::min()) &&
           v <= static_cast<std::int64_t>(std::numeric_limits<N>::max());
  }
  if (!fits) return context.fail(TypeName<N>::text, &value);
  out = static_cast<N>(value.get<std::int64_t>());
  return true;
}

inline bool read_value(DecodeContext& context, json& value, std::string& out) {
  if (!value.is_string()) return context.fail(TypeName<std::string>::text, &value);
  out = std::move(value.get_ref<std::string&>());
  return true;
}

inline bool read_value(DecodeContext& context, json& value, DocumentUri& out) {
  if (!value.is_string()) return context.fail(TypeName<DocumentUri>::text, &value);
  auto href = normalized_uri(value.get_ref<const std::string&>());
  if (!href) return context.fail(TypeName<DocumentUri>::text, &value);
  out.href = std::move(*href);
  return true;
}

inline bool read_value(DecodeContext&, json&, Ignored&) { return true; }

inline bool read_value(DecodeContext& context, json& value, IgnoredObject&) {
  return value.is_object() || context.fail(TypeName<IgnoredObject>::text, &value);
}

template <class T>
bool read_value(DecodeContext& context, json& value, std::vector<T>& out) {
  if (!value.is_array()) return context.fail(TypeName<std::vector<T>>::text, &value);
  auto& elements = value.get_ref<json::array_t&>();
  out.resize(elements.size());
  for (std::size_t i = 0; i < elements.size(); ++i) {
    auto length = context.enter(i);
    if (!read(context, elements[i], out[i])) return false;
    context.leave(length);
  }
  return true;
}

// A union: the first alternative that fits. An alternative that fails on an object or array may have
// moved parts of it away already, so those are tried on a copy, except the last.
template <class... A>
bool read_value(DecodeContext& context, json& value, std::variant<A...>& out) {
  bool done = false;
  std::size_t remaining = sizeof...(A);
  auto attempt = [&]<class Alternative>(std::type_identity<Alternative>) {
    if (done) return;
    --remaining;
    DecodeContext trial;
    Alternative candidate{};
    bool structured = value.is_object() || value.is_array();
    if (structured && remaining > 0) {
      json copy = value;
      if (!read(trial, copy, candidate)) return;
    } else if (!read(trial, value, candidate)) {
      return;
    }
    out = std::move(candidate);
    done = true;
  };
  (attempt(std::type_identity<A>{}), ...);
  return done || context.fail(expected_text<std::variant<A...>>(), &value);
}

template <Described T>
bool read_value(DecodeContext& context, json& value, T& out) {
  if (!value.is_object()) return context.fail(TypeName<T>::text, &value);
  auto read_member = [&]<class M>(const Member<T, M>& m) {
    auto length = context.enter(m.name);
    auto it = value.find(m.name);
    json* found = it == value.end() ? nullptr : &*it;
    bool ok;
    if constexpr (requires { typename M::value_type; requires std::is_same_v<M, std::optional<typename M::value_type>>; }) {
      if (!found || found->is_null()) {
        ok = true;  // optional members may be absent or null
      } else {
        ok = read(context, *found, (out.*m.pointer).emplace());
      }
    } else {
      ok = found ? read(context, *found, out.*m.pointer) : context.fail(expected_text<M>(), nullptr);
    }
    if (ok) context.leave(length);
    return ok;
  };
  return std::apply([&](const auto&... members) { return (read_member(members) && ...); }, Structure<T>::members);
}

template <class T>
bool read(DecodeContext& context, json& value, T& out) {
  return read_value(context, value, out);
}

// Decodes `params` into `out`; nothing on success, else the description of the first mismatch.
template <class T>
std::optional<std::string> decode(json& params, T& out) {
  DecodeContext context;
  if (read(context, params, out)) return std::nullopt;
  return context.error();
}

}  // namespace tarnu::lsp
