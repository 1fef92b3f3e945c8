// A strict reader of JSON text for checking plughost's output; any text that
// is not JSON throws, so malformed output fails the test that reads it.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

struct JsonValue {
    enum class Type { null, boolean, number, string, array, object };
    Type type = Type::null;
    bool boolean = false;
    double number = 0.0;
    std::string text;
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> fields;

    const JsonValue& operator[](const std::string& key) const {
        if (type != Type::object) throw std::runtime_error("not an object, looking for " + key);
        for (const auto& [name, value] : fields)
            if (name == key) return value;
        throw std::runtime_error("no field " + key);
    }
    const JsonValue& operator[](std::size_t index) const { return items.at(index); }
    bool isNull() const { return type == Type::null; }
};

JsonValue parseJson(const std::string& text);
