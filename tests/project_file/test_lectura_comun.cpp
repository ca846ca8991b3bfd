// UTF-8 as the readers judge it and as their messages show it: Qt's decoder
// is the reference, on the awkward sequences and on random bytes.

#include "project_file/lectura_comun.h"

#include <gtest/gtest.h>

#include <QString>
#include <QStringDecoder>

#include <random>
#include <string>
#include <vector>

namespace tev {
namespace {

bool valido_para_qt(const std::string& b)
{
    QStringDecoder d(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString q = d(QByteArrayView(b.data(), static_cast<qsizetype>(b.size())));
    static_cast<void>(q);
    return !d.hasError();
}

std::string como_lo_muestra_qt(const std::string& b)
{
    return QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size())).toStdString();
}

void como_qt(const std::string& b)
{
    SCOPED_TRACE(testing::PrintToString(b));
    EXPECT_EQ(es_utf8_valido(b), valido_para_qt(b));
    EXPECT_EQ(utf8_reemplazado(b), como_lo_muestra_qt(b));
}

TEST(Utf8, ComoLoLeeQt)
{
    const std::vector<std::string> casos = {
        "",
        "Pelitas",
        "\xC3\xB1",
        "\xE2\x82\xAC",
        "\xF0\x9F\x98\x80", // ñ € 😀
        "\xF4\x8F\xBF\xBF",
        "\xEF\xBF\xBE",
        "\xEF\xB7\x90", // U+10FFFF, nonchars
        "\xC0\x80",
        "\xC1\xBF",
        "\xE0\x80\x80",
        "\xE0\x9F\xBF",
        "\xF0\x8F\xBF\xBF", // overlong
        "\xED\xA0\x80",
        "\xED\xBF\xBF",
        "\xED\x9F\xBF", // surrogates; U+D7FF
        "\xF4\x90\x80\x80",
        "\xF5\x80\x80\x80",
        "\xFF",
        "\xFE", // past U+10FFFF
        "\x80",
        "\xBF\x80",
        "a\xC3",
        "a\xE2\x82",
        "\xF0\x9F\x98",
        "\xE2\x28\xA1", // cut, broken
        "\xC3\xB1\xC3",
        "\xE2\x82\xAC\xE2\x82\xAC\xF0",
        std::string("a\0b", 3),
    };
    for (const std::string& c : casos)
        como_qt(c);

    // Random bytes, most of them where sequences begin and break.
    const unsigned char bordes[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0,
                                    0xBF, 0xC0, 0xC1, 0xC2, 0xC3, 0xDF, 0xE0, 0xE2,
                                    0xED, 0xEF, 0xF0, 0xF3, 0xF4, 0xF5, 0xF8, 0xFF};
    std::mt19937 gen(1252);
    for (int k = 0; k < 20000; ++k) {
        std::string b(gen() % 9, '\0');
        for (char& c : b)
            c = static_cast<char>(gen() % 3 == 0 ? gen() % 256 : bordes[gen() % sizeof bordes]);
        como_qt(b);
        if (HasFailure()) break;
    }
}

} // namespace
} // namespace tev
