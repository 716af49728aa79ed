// SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line/argument_encoding.h"

#include <QStringDecoder>

Failure CheckArgumentEncoding(int argc, const char* const* argv)
{
    for (int i = 1; i < argc; ++i) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString decoded = decoder(QByteArrayView(argv[i]));
        if (decoder.hasError())
            return {ExitBadInput, "argument " + std::to_string(i) + " is not valid UTF-8; nothing sent\n"};
    }
    return {};
}
