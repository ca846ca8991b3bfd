#include "compute/nivel_mar.h"

#include "model/store.h"

#include <gtest/gtest.h>

#include <memory>

namespace tev {
namespace {

float nivel_para(float edad)
{
    auto s = std::make_unique<Store>();
    s->edad_techo[4] = edad;
    s->nivel_mar[3] = 99;
    s->nivel_mar[5] = 99;
    buscatiempo(*s, 4);
    EXPECT_EQ(s->nivel_mar[3], 99.0f); // only bed 4 changes
    EXPECT_EQ(s->nivel_mar[5], 99.0f);
    return s->nivel_mar[4];
}

TEST(NivelMar, FilaMasCercana)
{
    EXPECT_EQ(nivel_para(0), 0.0f);
    EXPECT_EQ(nivel_para(20), 25.0f);
    EXPECT_EQ(nivel_para(95), 15.0f);
    EXPECT_EQ(nivel_para(85), 110.0f);
    EXPECT_EQ(nivel_para(61.5f), 100.0f);
    EXPECT_EQ(nivel_para(139), -20.0f);
}

TEST(NivelMar, EnLaMitadGanaLaFilaMasJoven)
{
    EXPECT_EQ(nivel_para(10), 0.0f);
    EXPECT_EQ(nivel_para(30), 25.0f);
    EXPECT_EQ(nivel_para(90), 110.0f);
    EXPECT_EQ(nivel_para(150), -20.0f);
    EXPECT_EQ(nivel_para(110), 15.0f);
}

TEST(NivelMar, FueraDeLaTabla)
{
    EXPECT_EQ(nivel_para(-5), 0.0f);
    EXPECT_EQ(nivel_para(400), -15.0f);
    EXPECT_EQ(nivel_para(900000), -15.0f);
    // A million Ma beyond every row: no row is taken.
    EXPECT_EQ(nivel_para(2000000), 0.0f);
    EXPECT_EQ(nivel_para(-1000000), 0.0f);
}

TEST(NivelMar, RepetirDaLoMismo)
{
    auto s = std::make_unique<Store>();
    s->edad_techo[1] = 47;
    buscatiempo(*s, 1);
    const float primera = s->nivel_mar[1];
    buscatiempo(*s, 1);
    EXPECT_EQ(s->nivel_mar[1], primera);
    EXPECT_EQ(primera, 70.0f);
}

} // namespace
} // namespace tev
