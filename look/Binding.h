#pragma once

#include <functional>
#include <memory>

namespace pomelark {

/// A two-way connection to a value that someone else owns: a screen reads the
/// current value through `get` and hands changes back through `set`, and the
/// owner decides what a change means.
template <typename T>
struct Binding {
    std::function<T()> get;
    std::function<void(T)> set;

    /// A binding over a value held by the binding itself (for previews and tests).
    static Binding local(T initial = T{})
    {
        auto value = std::make_shared<T>(std::move(initial));
        return {[value] { return *value; }, [value](T next) { *value = std::move(next); }};
    }
};

} // namespace pomelark
