#pragma once

#include <QString>
#include <string>
#include <string_view>

// Texts of the core are bytes. Most are ASCII; names read from the machine may hold
// any byte. They are shown as UTF-8 when they are valid UTF-8, otherwise byte for
// byte as Latin-1, so that every byte shows as some character. What the operator
// types goes to the core as UTF-8.
QString FromCore(std::string_view text);
std::string ToCore(const QString& text);
