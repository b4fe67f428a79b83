#pragma once
// An argument that may hold a value of any basic type, or mark an argument left out.
// Host operations that accept more than one kind of value take it.

#include "base/byte_block.h"

#include <cstdint>

namespace korvanta {

enum class ValueType : uint8_t {
    Omitted,
    Byte,
    Short,
    Integer,
    Long,
    Float,
    Double,
    Logical,
    DateTime, // an OLE Automation date: days since 30 December 1899, time as the fraction
    Text,
    Block,
};

class TypedValue {
public:
    // An omitted argument has no type and the value 0.
    TypedValue() : long_(0) {}

    static TypedValue Omitted() { return {}; }
    static TypedValue Byte(uint8_t v) { return Make(ValueType::Byte, &TypedValue::byte_, v); }
    static TypedValue Short(int16_t v) { return Make(ValueType::Short, &TypedValue::short_, v); }
    static TypedValue Integer(int32_t v) {
        return Make(ValueType::Integer, &TypedValue::integer_, v);
    }
    static TypedValue Long(int64_t v) { return Make(ValueType::Long, &TypedValue::long_, v); }
    static TypedValue Float(float v) { return Make(ValueType::Float, &TypedValue::float_, v); }
    static TypedValue Double(double v) { return Make(ValueType::Double, &TypedValue::double_, v); }
    static TypedValue Logical(bool v) {
        return Make(ValueType::Logical, &TypedValue::integer_, v ? 1 : 0);
    }
    static TypedValue DateTime(double ole_date) {
        return Make(ValueType::DateTime, &TypedValue::double_, ole_date);
    }
    // The text is borrowed, not copied; null is the absent text.
    static TypedValue Text(const char *text) {
        return Make(ValueType::Text, &TypedValue::text_, text);
    }
    static TypedValue Block(const ByteBlock *block) {
        return Make(ValueType::Block, &TypedValue::block_, block);
    }

    ValueType type() const { return type_; }
    uint8_t byte_value() const { return byte_; }
    int16_t short_value() const { return short_; }
    int32_t integer_value() const { return integer_; }
    int64_t long_value() const { return long_; }
    float float_value() const { return float_; }
    double double_value() const { return double_; }
    bool logical_value() const { return integer_ != 0; }
    double date_value() const { return double_; }
    const char *text_value() const { return text_; }

private:
    template <typename Member, typename Value>
    static TypedValue Make(ValueType type, Member TypedValue::*member, Value v) {
        TypedValue t;
        t.type_ = type;
        t.*member = v;
        return t;
    }

    ValueType type_ = ValueType::Omitted;
    union {
        uint8_t byte_;
        int16_t short_;
        int32_t integer_;
        int64_t long_;
        float float_;
        double double_;
        const char *text_;
        const ByteBlock *block_;
    };
};

} // namespace korvanta
