#pragma once

#include <QUrl>

#include <functional>

// The web pages the program opens, and the one place that hands them to the desktop, so a test
// can catch the request instead of starting a browser.
namespace WebLinks {

QUrl makerSite();    // the maker's main site, about its satellite internet service
QUrl softwareSite(); // the maker's software site
QUrl productSite();  // Tarvo's own site, its root page

using Opener = std::function<void(const QUrl &)>;

// Installs (or, with an empty opener, removes) the replacement; returns the previous one.
Opener setOpener(Opener opener);

// The desktop's answer is not looked at: a page that cannot be opened fails silently.
void open(const QUrl &url);

} // namespace WebLinks
