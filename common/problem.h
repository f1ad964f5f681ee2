// How a failure travels below the platform seam: as a value, with its text,
// up to the code that reports it. (Above the seam a failure ends the run
// where it is found.)
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace tresk {

struct Problem {
    std::string text;  // in words, for a message or a status text
    int error = 0;     // the errno behind it, when a system call failed
};

// A value, or the problem that kept it from being made.
template <typename T>
class [[nodiscard]] Expected {
public:
    Expected(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Expected(Problem problem) : state_(std::in_place_index<1>, std::move(problem)) {}

    explicit operator bool() const { return state_.index() == 0; }
    T& value() { return std::get<0>(state_); }
    const T& value() const { return std::get<0>(state_); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    const Problem& problem() const { return std::get<1>(state_); }

private:
    std::variant<T, Problem> state_;
};

// Work that makes no value: done, or the problem.
template <>
class [[nodiscard]] Expected<void> {
public:
    Expected() = default;
    Expected(Problem problem) : failure_(std::move(problem)) {}

    explicit operator bool() const { return !failure_; }
    const Problem& problem() const { return *failure_; }

private:
    std::optional<Problem> failure_;
};

}  // namespace tresk
