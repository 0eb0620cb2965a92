// Conversion of typed text to MZ-700 display codes: the three read-only
// tables, keyed by Shift-JIS (code page 932) bytes, and their look-ups.
#pragma once

#include <cstddef>
#include <cstdint>

// A conversion entry: display code in bits 7-0 plus these flags.
// An entry of 0 (the blank) stands for every character without a mapping.
constexpr uint32_t TEXT_CODE_MASK = 0x00FF;
constexpr uint32_t TEXT_SEMI_VOICED = 0x2000;  // a cell with SemiVoicedMarkCode follows
constexpr uint32_t TEXT_VOICED = 0x4000;       // a cell with VoicedMarkCode follows
constexpr uint32_t TEXT_SECOND_SET = 0x8000;   // attribute bit 7: second character set

// The MZ-700 writes voiced and semi-voiced kana as two cells: the base kana
// and one of these marks.
constexpr uint8_t VoicedMarkCode = 0xBC;
constexpr uint8_t SemiVoicedMarkCode = 0xB8;

// Single-byte characters 0x20-0x7E.
constexpr uint8_t SingleByteTableFirst = 0x20;
constexpr size_t SingleByteTableSize = 95;
extern const uint32_t SingleByteTable[SingleByteTableSize];

// Half-width katakana bytes 0xA0-0xDF.
constexpr uint8_t HalfKanaTableFirst = 0xA0;
constexpr size_t HalfKanaTableSize = 64;
extern const uint32_t HalfKanaTable[HalfKanaTableSize];

// Double-byte characters, searched from the start; the first match wins.
struct DoubleByteEntry {
    uint8_t lead;
    uint8_t trail;
    uint32_t entry;
};
constexpr size_t DoubleByteTableSize = 281;
extern const DoubleByteEntry DoubleByteTable[DoubleByteTableSize];

// Entry of a single byte from either single-byte table; 0 for any byte
// outside 0x20-0x7E and 0xA0-0xDF (control bytes and lead bytes included).
uint32_t LookupSingleByte(uint8_t byte);

// Entry of a double-byte character; 0 when the pair is not in the table.
uint32_t LookupDoubleByte(uint8_t lead, uint8_t trail);
