#pragma once

#include <string>
#include <utility>
#include <variant>

namespace osago {

// A converted value or the message the conversion failed with. The message is the text the
// program shows to the agent, e.g. "'12a' is not a valid integer value".
template <typename T>
class ConversionResult {
public:
    static ConversionResult success(T value) { return ConversionResult(std::in_place_index<0>, std::move(value)); }
    static ConversionResult failure(std::string message)
    {
        return ConversionResult(std::in_place_index<1>, std::move(message));
    }

    bool ok() const noexcept { return m_state.index() == 0; }
    explicit operator bool() const noexcept { return ok(); }

    // Only when ok().
    const T& value() const { return std::get<0>(m_state); }
    const T& operator*() const { return value(); }
    const T* operator->() const { return &value(); }

    // Only when !ok().
    const std::string& error() const { return std::get<1>(m_state); }

private:
    template <std::size_t Index, typename Arg>
    ConversionResult(std::in_place_index_t<Index> index, Arg&& arg) : m_state(index, std::forward<Arg>(arg))
    {
    }

    std::variant<T, std::string> m_state;
};

} // namespace osago
