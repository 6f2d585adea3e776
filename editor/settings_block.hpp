// The one record through which the host sets every editor's font, colours and
// spacing. It travels as a byte array, so it is kept as bytes: the layout below
// is the contract with the host and must not move.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace quvpad {

// Colour classes: the index into the 16 colours of the block, and the classes
// the colouring tokenizer yields (0 to 10). ORDER COLOUR CLASSES: the block's
// colour table and the host's display settings use this same order.
enum ColorClass : int {
    ClassCurrentLine = 0,
    ClassKeyword = 1,
    ClassDefinitionLabel = 2,
    ClassIdentifier = 3,
    ClassString = 4,
    ClassNumber = 5,
    ClassOperator = 6,
    ClassBlockDelimiter = 7,
    ClassJumpLabel = 8,
    ClassComment = 9,
    ClassError = 10,
    ClassBackground = 11,
    ClassSelectionBack = 12,
    ClassSelectionText = 13,
    ClassBreakPointBack = 14,
    ClassBreakPointText = 15,
    ColorClassCount = 16
};

// The 8-bit font record at the head of the block (a Windows LOGFONTA).
struct FontRecord {
    int32_t height = 0, width = 0, escapement = 0, orientation = 0, weight = 0;
    uint8_t italic = 0, underline = 0, strikeOut = 0, charSet = 0;
    uint8_t outPrecision = 0, clipPrecision = 0, quality = 0, pitchAndFamily = 0;
    std::array<char, 32> faceName{};
};

class SettingsBlock {
public:
    // Byte offsets; all integers are little-endian 32-bit.
    static constexpr size_t FontOffset = 0;
    static constexpr size_t FontSize = 60;
    static constexpr size_t ColorsOffset = 60;
    static constexpr size_t MinXOffset = 124;
    static constexpr size_t TabSizeOffset = 128;
    static constexpr size_t LineDistanceOffset = 132;
    static constexpr size_t CharWidthOffset = 136;
    static constexpr size_t LineHeightOffset = 140;
    // The host sends the first 136 bytes; the last two fields are measured here.
    static constexpr size_t HostSize = 136;
    static constexpr size_t Size = 144;

    // The block shared by every editor of the process; starts all zero.
    static SettingsBlock& Shared();

    // Copies bytes 0..143 of data one by one; bytes the array does not hold keep
    // their old values.
    void CopyFrom(const uint8_t* data, size_t length);
    const std::array<uint8_t, Size>& Bytes() const { return bytes_; }

    FontRecord Font() const;
    void SetFont(const FontRecord& font);

    // COLORREF (0x00BBGGRR) of a colour class.
    uint32_t Color(int colorClass) const;
    void SetColor(int colorClass, uint32_t colorRef);

    int32_t MinX() const { return Get(MinXOffset); }
    void SetMinX(int32_t v) { Put(MinXOffset, v); }
    int32_t LineDistance() const { return Get(LineDistanceOffset); }
    void SetLineDistance(int32_t v) { Put(LineDistanceOffset, v); }
    void SetTabSize(int32_t v) { Put(TabSizeOffset, v); }

    // A settings file may hold 0 or less here; the editor divides and loops by
    // these values, so they are read as at least 1.
    int32_t TabSize() const { return AtLeastOne(Get(TabSizeOffset)); }
    int32_t CharWidth() const { return AtLeastOne(Get(CharWidthOffset)); }
    int32_t LineHeight() const { return AtLeastOne(Get(LineHeightOffset)); }

    // Stores the two measured fields: the font's average character width, and
    // its height plus external leading plus LineDistance.
    void SetMetrics(int32_t averageCharWidth, int32_t fontHeight, int32_t externalLeading);

private:
    static int32_t AtLeastOne(int32_t v) { return v < 1 ? 1 : v; }
    int32_t Get(size_t offset) const;
    void Put(size_t offset, int32_t value);

    std::array<uint8_t, Size> bytes_{};
};

} // namespace quvpad
