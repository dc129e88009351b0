// Decoding of parameters into the protocol's structures, driven by a declarative description of each
// structure: its members, their names and types, whether they may be left out.
//
// Describe a structure once by specialising Structure<T>:
//     template <> struct Structure<Position> {
//       static constexpr auto members = Members{member("line", &Position::line), ...};
//     };
// A structure that extends others (DefinitionParams is a TextDocumentPositionParams with progress tokens)
// derives from them and lists their members first: members_of<Base...>(member(...), ...). A structure
// whose other members all have one type (an index signature) names the Map that receives them in `rest`.
//
// Members of type std::optional<T> may be absent or null; every other member is required. Members the
// protocol does not define are ignored. Strings are moved out of the JSON value, not copied. Types:
// bool, Integer, UInteger, double (a decimal), std::string, DocumentUri (a string that parses as a URL),
// Literal<"text">, Ignored (any value), IgnoredObject (any object), std::vector<T> (an array),
// std::array<T, N> (an array of exactly N), Map<K, V> (an object used as a dictionary), std::variant (a
// union: the first alternative that fits) and described structures (objects).
//
// The readers of arrays, unions, members and structures stay out of line: decoding is not hot, and
// inlining them into one another for every structure multiplies the code and the time to compile it.
//
// A value that does not fit gives one description that names the member's path, what was expected and
// what was found: "textDocument.position.line: expected an unsigned 32-bit integer, found -1".
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include <nlohmann/json.hpp>

#include "lsp/feature_params.h"
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

// The member descriptions of one structure. A flat list rather than a std::tuple: the structures are
// many, and building a tuple of a new type for each one costs most of the time their descriptions take
// to compile.
template <std::size_t I, class M>
struct MemberSlot {
  M member;
};

template <class Indices, class... M>
struct MemberSlots;

template <std::size_t... I, class... M>
struct MemberSlots<std::index_sequence<I...>, M...> : MemberSlot<I, M>... {
  constexpr explicit MemberSlots(M... members) : MemberSlot<I, M>{members}... {}

  // Calls `f` with every member description, in order.
  template <class F>
  constexpr decltype(auto) apply(F&& f) const {
    return f(static_cast<const MemberSlot<I, M>&>(*this).member...);
  }
};

template <class... M>
struct Members : MemberSlots<std::index_sequence_for<M...>, M...> {
  constexpr Members(M... members) : MemberSlots<std::index_sequence_for<M...>, M...>(members...) {}
};

template <class... M>
Members(M...) -> Members<M...>;

template <class... A, class... B>
constexpr Members<A..., B...> operator+(const Members<A...>& first, const Members<B...>& second) {
  return first.apply([&](const A&... a) {
    return second.apply([&](const B&... b) { return Members<A..., B...>(a..., b...); });
  });
}

template <class T>
struct Structure;  // specialised for every structure the decoder reads

template <class T>
concept Described = requires { Structure<T>::members; };

// The members of the structures a structure derives from, followed by its own.
template <class... Bases, class... Own>
constexpr auto members_of(Own... own) {
  return (Structure<Bases>::members + ... + Members<Own...>(own...));
}

// The path of the member being read and the first failure met.
class DecodeContext {
 public:
  // Appends to the path; the returned length restores it.
  std::size_t enter(std::string_view name);
  std::size_t enter(std::size_t index);
  void leave(std::size_t length) { path_.resize(length); }

  bool fail(std::string_view expected, const json* found);
  // For a finding that the value alone does not tell, such as the length of an array.
  bool fail_as(std::string_view expected, std::string_view found);
  const std::optional<std::string>& error() const { return error_; }

  // A context at the same path, for trying one alternative of a union.
  DecodeContext branch() const {
    DecodeContext trial;
    trial.path_ = path_;
    return trial;
  }
  // Takes over the failure met in a branch.
  bool adopt(DecodeContext&& trial) {
    error_ = std::move(trial.error_);
    return false;
  }

 private:
  std::string path_;
  std::optional<std::string> error_;
};

// What a JSON value is, in words, for error descriptions.
std::string describe_value(const json* value);
// "an array of N elements", in words.
std::string array_text(std::size_t size);
// Whether `text` parses as a URL; gives its normalised form.
std::optional<std::string> normalized_uri(const std::string& text);
// "a, b or c", with repeated names said once.
std::string alternatives_text(std::initializer_list<std::string> names);

template <class T> struct IsOptional : std::false_type {};
template <class T> struct IsOptional<std::optional<T>> : std::true_type {};
template <class T> struct IsVariant : std::false_type {};
template <class... A> struct IsVariant<std::variant<A...>> : std::true_type {};
template <class T> struct IsLiteral : std::false_type {};
template <FixedString Text> struct IsLiteral<Literal<Text>> : std::true_type {};
template <class T> struct IsFixedArray : std::false_type {};
template <class T, std::size_t N> struct IsFixedArray<std::array<T, N>> : std::true_type {};
template <class T> struct IsVector : std::false_type {};
template <class T> struct IsVector<std::vector<T>> : std::true_type {};

template <class T>
struct TypeName;
template <> struct TypeName<bool> { static constexpr std::string_view text = "a boolean"; };
template <> struct TypeName<Integer> { static constexpr std::string_view text = "a 32-bit integer"; };
template <> struct TypeName<UInteger> { static constexpr std::string_view text = "an unsigned 32-bit integer"; };
template <> struct TypeName<double> { static constexpr std::string_view text = "a number"; };
template <> struct TypeName<std::string> { static constexpr std::string_view text = "a string"; };
template <> struct TypeName<DocumentUri> { static constexpr std::string_view text = "a URL string"; };
template <> struct TypeName<Ignored> { static constexpr std::string_view text = "any value"; };
template <> struct TypeName<IgnoredObject> { static constexpr std::string_view text = "an object"; };
template <class T> struct TypeName<std::vector<T>> { static constexpr std::string_view text = "an array"; };
template <class K, class V> struct TypeName<Map<K, V>> { static constexpr std::string_view text = "an object"; };
template <Described T> struct TypeName<T> { static constexpr std::string_view text = "an object"; };

// What a member of type T must hold, in words.
template <class T>
std::string expected_text() {
  if constexpr (IsVariant<T>::value) {
    return []<class... A>(std::type_identity<std::variant<A...>>) {
      return alternatives_text({expected_text<A>()...});
    }(std::type_identity<T>{});
  } else if constexpr (IsLiteral<T>::value) {
    return '"' + std::string(T::value) + '"';
  } else if constexpr (IsFixedArray<T>::value) {
    return array_text(std::tuple_size_v<T>);
  } else {
    return std::string(TypeName<T>::text);
  }
}

// Whether `value` is of the JSON kind that a T is written as; reading a T can succeed on no other.
template <class T>
bool has_shape(const json& value) {
  if constexpr (std::is_same_v<T, Ignored>) {
    return true;
  } else if constexpr (std::is_same_v<T, bool>) {
    return value.is_boolean();
  } else if constexpr (std::is_arithmetic_v<T>) {
    return value.is_number();
  } else if constexpr (std::is_same_v<T, std::string> || std::is_same_v<T, DocumentUri> || IsLiteral<T>::value) {
    return value.is_string();
  } else if constexpr (IsVector<T>::value || IsFixedArray<T>::value) {
    return value.is_array();
  } else if constexpr (IsVariant<T>::value) {
    return []<class... A>(std::type_identity<std::variant<A...>>, const json& v) {
      return (has_shape<A>(v) || ...);
    }(std::type_identity<T>{}, value);
  } else {
    return value.is_object();  // structures, maps, IgnoredObject
  }
}

// How much one member of an object speaks for a structure that has a member of type M by that name: 1
// when it is required and present, -1 when it is a literal and holds another text, 0 otherwise.
template <class M>
int member_evidence(const json& object, std::string_view name) {
  if constexpr (IsOptional<M>::value) {
    return 0;
  } else {
    auto it = object.find(name);
    if (it == object.end()) return 0;
    if constexpr (IsLiteral<M>::value) {
      if (!it->is_string() || it->template get_ref<const std::string&>() != M::value) return -1;
    }
    return 1;
  }
}

// How much an object looks like a T: the number of T's required members it holds, or -1 when a literal
// member holds another text (a "rename" is no CreateFile). When no alternative of a union fits, the
// failure reported is that of the alternative the value looks most like, which names the member to fix.
template <class T>
int evidence(const json& value) {
  if constexpr (!Described<T>) {
    return 0;
  } else {
    if (!value.is_object()) return 0;
    return Structure<T>::members.apply(
        [&]<class... S, class... M>(const Member<S, M>&... members) {
          const int each[] = {member_evidence<M>(value, members.name)..., 0};
          int count = 0;
          for (int e : each) {
            if (e < 0) return -1;
            count += e;
          }
          return count;
        });
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

inline bool read_value(DecodeContext& context, json& value, double& out) {
  if (!value.is_number()) return context.fail(TypeName<double>::text, &value);
  out = value.get<double>();
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

template <FixedString Text>
bool read_value(DecodeContext& context, json& value, Literal<Text>&) {
  if (value.is_string() && value.get_ref<const std::string&>() == Literal<Text>::value) return true;
  return context.fail(expected_text<Literal<Text>>(), &value);
}

inline bool read_value(DecodeContext&, json&, Ignored&) { return true; }

inline bool read_value(DecodeContext& context, json& value, IgnoredObject&) {
  return value.is_object() || context.fail(TypeName<IgnoredObject>::text, &value);
}

template <class T>
bool read_elements(DecodeContext& context, json::array_t& elements, T* out) {
  for (std::size_t i = 0; i < elements.size(); ++i) {
    auto length = context.enter(i);
    if (!read(context, elements[i], out[i])) return false;
    context.leave(length);
  }
  return true;
}

template <class T>
[[gnu::noinline]] bool read_value(DecodeContext& context, json& value, std::vector<T>& out) {
  if (!value.is_array()) return context.fail(TypeName<std::vector<T>>::text, &value);
  auto& elements = value.get_ref<json::array_t&>();
  out.resize(elements.size());
  return read_elements(context, elements, out.data());
}

template <class T, std::size_t N>
bool read_value(DecodeContext& context, json& value, std::array<T, N>& out) {
  if (!value.is_array()) return context.fail(expected_text<std::array<T, N>>(), &value);
  auto& elements = value.get_ref<json::array_t&>();
  if (elements.size() != N) return context.fail_as(expected_text<std::array<T, N>>(), array_text(elements.size()));
  return read_elements(context, elements, out.data());
}

inline bool read_key(DecodeContext&, const std::string& name, std::string& key) {
  key = name;
  return true;
}

inline bool read_key(DecodeContext& context, const std::string& name, DocumentUri& key) {
  auto href = normalized_uri(name);
  if (!href) {
    json found(name);
    return context.fail(std::string(TypeName<DocumentUri>::text) + " as member name", &found);
  }
  key.href = std::move(*href);
  return true;
}

// One member of an object used as a dictionary; its name is part of the path.
template <class K, class V>
bool read_entry(DecodeContext& context, const std::string& name, json& element, Map<K, V>& out) {
  K key{};
  if (!read_key(context, name, key)) return false;
  auto length = context.enter(name);
  V entry{};
  if (!read(context, element, entry)) return false;
  context.leave(length);
  out.entries.emplace_back(std::move(key), std::move(entry));
  return true;
}

template <class K, class V>
bool read_value(DecodeContext& context, json& value, Map<K, V>& out) {
  if (!value.is_object()) return context.fail(TypeName<Map<K, V>>::text, &value);
  for (auto& [name, element] : value.get_ref<json::object_t&>()) {
    if (!read_entry(context, name, element, out)) return false;
  }
  return true;
}

// A union: the first alternative that fits. Only alternatives of the value's JSON kind are tried. One
// that fails on an object or array may have moved parts of it away already, so all but the last try a
// copy.
template <class... A>
[[gnu::noinline]] bool read_value(DecodeContext& context, json& value, std::variant<A...>& out) {
  constexpr std::size_t count = sizeof...(A);
  const bool fits[] = {has_shape<A>(value)...};
  const int scores[] = {evidence<A>(value)...};
  std::size_t reported = count;
  std::size_t last = count;
  for (std::size_t i = 0; i < count; ++i) {
    if (!fits[i]) continue;
    last = i;
    if (reported == count || scores[i] > scores[reported]) reported = i;
  }
  if (reported == count) return context.fail(expected_text<std::variant<A...>>(), &value);

  bool done = false;
  std::optional<DecodeContext> failure;
  std::size_t index = 0;
  auto attempt = [&]<class Alternative>(std::type_identity<Alternative>) {
    std::size_t i = index++;
    if (done || !fits[i]) return;
    DecodeContext trial = context.branch();
    Alternative candidate{};
    bool ok;
    if (i != last && (value.is_object() || value.is_array())) {
      json copy = value;
      ok = read(trial, copy, candidate);
    } else {
      ok = read(trial, value, candidate);
    }
    if (ok) {
      out = std::move(candidate);
      done = true;
    } else if (i == reported) {
      failure = std::move(trial);
    }
  };
  (attempt(std::type_identity<A>{}), ...);
  return done || context.adopt(std::move(*failure));
}

// One member of a structure. It depends on the member's type only, so that structures share it.
template <class M>
[[gnu::noinline]] bool read_member(DecodeContext& context, json& object, std::string_view name, M& field) {
  auto length = context.enter(name);
  auto it = object.find(name);
  json* found = it == object.end() ? nullptr : &*it;
  bool ok;
  if constexpr (IsOptional<M>::value) {
    if (!found || found->is_null()) {
      ok = true;  // optional members may be absent or null
    } else {
      ok = read(context, *found, field.emplace());
    }
  } else {
    ok = found ? read(context, *found, field) : context.fail(expected_text<M>(), nullptr);
  }
  if (ok) context.leave(length);
  return ok;
}

template <Described T>
[[gnu::noinline]] bool read_value(DecodeContext& context, json& value, T& out) {
  if (!value.is_object()) return context.fail(TypeName<T>::text, &value);
  bool ok = Structure<T>::members.apply([&](const auto&... members) {
    return (read_member(context, value, members.name, out.*members.pointer) && ...);
  });
  if (!ok) return false;
  if constexpr (requires { Structure<T>::rest; }) {
    auto described = [](const std::string& name) {
      return Structure<T>::members.apply([&](const auto&... members) { return ((members.name == name) || ...); });
    };
    for (auto& [name, element] : value.get_ref<json::object_t&>()) {
      if (!described(name) && !read_entry(context, name, element, out.*Structure<T>::rest)) return false;
    }
  }
  return true;
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
