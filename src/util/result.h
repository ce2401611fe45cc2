// The one way the core reports a failure: a value, never an exception. A
// Result<T> holds either a T or an Error; Status (Result<void>) only says
// whether something worked. An Error carries the one-line message to show
// and, where callers or saved files rely on one, the numeric code the
// failure has always had.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace vek {

struct Error {
    std::string message;  // one line, ready to show
    int code = 0;         // a code callers test, 0 when there is none
};

template <class T>
class [[nodiscard]] Result {
  public:
    Result(T value) : value_(std::move(value)) {}  // NOLINT: implicit on purpose
    Result(Error error) : error_(std::move(error)) {}  // NOLINT

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }

    // The value; only when ok().
    const T& value() const& { return *value_; }
    T& value() & { return *value_; }
    T&& value() && { return std::move(*value_); }
    const T* operator->() const { return &*value_; }
    T* operator->() { return &*value_; }
    const T& operator*() const { return *value_; }

    // The value, or `fallback` after a failure.
    T ValueOr(T fallback) const { return ok() ? *value_ : std::move(fallback); }

    // The failure; an empty Error when ok().
    const Error& error() const { return error_; }
    const std::string& message() const { return error_.message; }

  private:
    std::optional<T> value_;
    Error error_;
};

template <>
class [[nodiscard]] Result<void> {
  public:
    Result() = default;
    Result(Error error) : failed_(true), error_(std::move(error)) {}  // NOLINT

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const Error& error() const { return error_; }
    const std::string& message() const { return error_.message; }

  private:
    bool failed_ = false;
    Error error_;
};

using Status = Result<void>;

inline Status Ok() {
    return {};
}

inline Error Fail(std::string message, int code = 0) {
    return Error{std::move(message), code};
}

}  // namespace vek
