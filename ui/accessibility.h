#pragma once

namespace venturon {

// What screen readers are told about the program's own kinds of control: a link
// label is a link that can be pressed through the accessibility interface, any
// other clickable label a button, and a picture box a chart. Installed once,
// before the first window is made; calling it again does nothing.
void install_accessibility();

} // namespace venturon
