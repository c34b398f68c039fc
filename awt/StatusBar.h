#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "awt/Component.h"

namespace awt {

// A row of text parts in a common-controls status window. The bar computes the parts' right
// edges itself, from their preferred sizes and the control's border metrics, and is placed by
// its parent's layout (the control's own positioning is off). Text changes are stored at once
// and reach the window at the bar's next validate.
class StatusBar : public Component {
public:
    // One text part; owned by the bar it was added to.
    class Part {
    public:
        // Takes a share of the bar's spare width; other modes keep the preferred width.
        static constexpr std::uint32_t STRETCH = 1;
        static constexpr std::uint32_t FIXED = 0;

        Part(const std::wstring& text, std::uint32_t mode, bool bordered);
        Part(const Part&) = delete;
        Part& operator=(const Part&) = delete;

        const std::wstring& getText() const;
        // A stretching part has the bar laid out again; a fixed one repaints its rectangle.
        void setText(const std::wstring& text);
        bool isBordered() const;
        std::uint32_t getMode() const;
        StatusBar* getOwner() const;
        // The text's extent in the bar's font with room for the part's frame; (0, 0) while the
        // part has no bar with a window.
        Dimension getPreferredSize() const;

    private:
        friend class StatusBar;

        StatusBar* owner;
        std::wstring text;
        bool bordered;
        std::uint32_t mode;
        mutable Dimension preferredCache;
        bool textDirty;
    };

    // The bar starts with one stretching, bordered part holding the text.
    StatusBar(const std::wstring& text, bool sizeGrip);
    ~StatusBar() noexcept(false) override;

    LPCWSTR getClassName() const override;
    DWORD getStyle() const override;
    HWND createWindow() override;
    // (0, 0) without a window (not cached).
    Dimension getPreferredSize() const override;
    // Sends the parts' edges and the texts that changed.
    void validate() override;
    void update() override;

    // The bar takes ownership. A part that belongs to a bar already throws
    // zeno::IllegalArgumentException "specified part on other StatusBar".
    void addPart(Part* part);
    // Position of the part, or -1.
    int indexOf(const Part* part) const;
    int getPartCount() const;
    Part* getPart(int index) const;
    // The text of the first part (a new stretching part when there is none).
    void setText(const std::wstring& text);
    void setText(UINT textId);
    // Repaints the part's rectangle, so that its new text is sent at the next validate. Throws
    // zeno::IllegalArgumentException "specified part is not part of this status bar".
    void updatePart(Part* part);
    bool hasSizeGrip() const;

private:
    struct Borders {
        int horizontal;
        int vertical;
        int between;
    };

    Borders getBorders() const;
    void sendParts(HWND window, const std::vector<int>& edges);
    void sendText(HWND window, std::size_t index);
    bool isGripDrawn() const;

    bool sizeGrip;
    std::vector<std::unique_ptr<Part>> parts;
    mutable Dimension preferredCache;
};

} // namespace awt
