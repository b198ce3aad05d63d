// Settings dialogs for the tests of one folder's pages: the pages under test at their places, blank pages at
// the others, so that a test program needs no folder but its own.
#pragma once

#include <memory>
#include <utility>

#include "settings/SettingsPage.h"

class BlankPage : public SettingsPage {
public:
    void Build(SettingsDialog&, HWND) override {}
};

inline SettingsPages BlankPages()
{
    SettingsPages pages;
    for (auto& page : pages) {
        page = std::make_unique<BlankPage>();
    }
    return pages;
}

inline SettingsPages With(SettingsPages pages, PageIndex index, std::unique_ptr<SettingsPage> page)
{
    pages[index] = std::move(page);
    return pages;
}

// The pages that a program's tests of the page layout (support/PagesTestSupport.h) look at; each such test
// program defines it.
SettingsPages PagesUnderTest();
