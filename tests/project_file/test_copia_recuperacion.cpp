#include "project_file/copia_recuperacion.h"

#include "model/store.h"
#include "project_file/csv_columna.h"

#include <gtest/gtest.h>

namespace tev {
namespace {

std::vector<RegistroBanco> dos_bancos()
{
    RegistroBanco a;
    a.nombre = "Lutitas, \"grises\"";
    a.techo = 120.5f;
    a.base = 300;
    a.edad_techo = 12;
    a.edad_base = 20.25f;
    a.litologia = "Lutitas";
    a.color = 0x00FF00;
    RegistroBanco b = a;
    b.nombre = "Arenas del Sur";
    b.techo = 0;
    b.base = 120.5f;
    return {a, b};
}

// A copy is its first line and then the CSV column, byte for byte: the
// fields of the column travel as the CSV form carries them.
TEST(CopiaRecuperacion, EsLaCabeceraYLaColumnaCsv)
{
    Store s;
    carga_columna(s, dos_bancos());
    const DatosCopia datos{4242, 1772701650000, "/datos/pozo 1.tev"};
    const EscrituraColumna copia = escribe_copia(s, datos);
    ASSERT_TRUE(copia.ok) << copia.error;
    EXPECT_EQ(copia.bytes, "tevarro-recuperacion,1,4242,1772701650000,\"/datos/pozo 1.tev\"\r\n" +
                               escribe_csv(s).bytes);
}

// Whatever a path may hold comes back: commas, quotes, a line break, no path.
TEST(CopiaRecuperacion, SeLeeComoSeEscribio)
{
    Store s;
    carga_columna(s, dos_bancos());
    for (const std::string ruta : {"/a, b/\"c\"\r\nd.csv", "", "/ñandú/columna.tev"}) {
        const DatosCopia datos{7, -5, ruta};
        const EscrituraColumna copia = escribe_copia(s, datos);
        ASSERT_TRUE(copia.ok) << copia.error;
        const LecturaCopia leida = lee_copia(copia.bytes, "c.recuperacion");
        ASSERT_TRUE(leida.ok) << leida.error;
        EXPECT_EQ(leida.datos.pid, 7);
        EXPECT_EQ(leida.datos.ultimo_cambio_ms, -5);
        EXPECT_EQ(leida.datos.ruta_original, ruta);
        ASSERT_EQ(leida.bancos.size(), 2U);
        EXPECT_EQ(leida.bancos[0].nombre, "Lutitas, \"grises\"");
        EXPECT_EQ(leida.bancos[1].nombre, "Arenas del Sur");
        EXPECT_EQ(leida.bancos[0].edad_base, 20.25f);
        EXPECT_EQ(leida.bancos[1].base, 120.5f);
    }
}

// Anything else is refused with a message that names the file; nothing is
// taken from a copy that is wrong anywhere.
TEST(CopiaRecuperacion, LoQueNoEsUnaCopiaSeRechazaNombrandoElArchivo)
{
    Store s;
    carga_columna(s, dos_bancos());
    const std::string csv = escribe_csv(s).bytes;
    const std::string malas[] = {
        "",
        csv,
        "tevarro-recuperacion,2,1,2,\"\"\r\n" + csv,
        "tevarro-recuperacion,1,x,2,\"\"\r\n" + csv,
        "tevarro-recuperacion,1,1,,\"\"\r\n" + csv,
        "tevarro-recuperacion,1,1,2,/sin/comillas\r\n" + csv,
        "tevarro-recuperacion,1,1,2,\"/sin/cierre\r\n" + csv,
        "tevarro-recuperacion,1,1,2,\"/a\"b\r\n" + csv,
        "tevarro-recuperacion,1,1,2,\"\"\n" + csv,
        "tevarro-recuperacion,1,1,2,\"\"\r\n" + csv.substr(0, csv.size() - 20) + ",x,y\r\n",
    };
    for (const std::string& mala : malas) {
        const LecturaCopia leida = lee_copia(mala, "/tmp/c-9.recuperacion");
        EXPECT_FALSE(leida.ok) << mala;
        EXPECT_TRUE(leida.bancos.empty());
        EXPECT_NE(leida.error.find("/tmp/c-9.recuperacion"), std::string::npos) << leida.error;
    }
}

} // namespace
} // namespace tev
