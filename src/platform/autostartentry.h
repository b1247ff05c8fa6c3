#pragma once

#include <QString>

// The start at logon: an XDG autostart entry that the desktop reads when the user logs on.
namespace AutostartEntry {

// $XDG_CONFIG_HOME/autostart/tarvo.desktop ($XDG_CONFIG_HOME defaults to ~/.config); empty when
// the user has no configuration folder.
QString defaultPath();

// The entry's text: starts `executable` at logon unless `enabled` is off, which hides the entry.
QString text(const QString &executable, bool enabled);

// Replaces the entry at `path` whole, making its folder when missing. False when it could not be
// written; nothing is reported, since a failure must not stop the confirmation that writes it.
bool write(const QString &path, const QString &executable, bool enabled);

} // namespace AutostartEntry
