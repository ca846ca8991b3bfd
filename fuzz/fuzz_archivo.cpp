// Fuzz target of the project file reader.
//
// Whatever the reader accepts is loaded into a fresh store, computed, written
// and read again: the second reading must give the same column in the file's
// own forms (texts and colours exact, numbers equal to the 7 digits the file
// keeps), and writing it again must give the very same bytes; so must the
// column written as CSV, read back and written as a project file again.

#include "compute/tevarro.h"
#include "model/store.h"
#include "project_file/archivo_proyecto.h"
#include "project_file/columna.h"
#include "project_file/csv_columna.h"
#include "text_forms/formas_numericas.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void falla(const char* que, const std::string& detalle)
{
    std::fprintf(stderr, "ida y vuelta: %s\n%s\n", que, detalle.c_str());
    std::abort();
}

bool mismo_numero(float a, float b)
{
    return tev::forma_impresa(a) == tev::forma_impresa(b);
}

void compara(const tev::RegistroBanco& a, const tev::RegistroBanco& b, size_t k)
{
    const std::string banco = "banco " + std::to_string(k + 1);
    for (const tev::Campo& c : tev::kCampos) {
        switch (c.tipo) {
        case tev::TipoCampo::texto:
            if (a.*c.texto != b.*c.texto) falla("texto distinto", banco + ", " + c.nombre);
            break;
        case tev::TipoCampo::entero:
            if (a.*c.entero != b.*c.entero) falla("entero distinto", banco + ", " + c.nombre);
            break;
        case tev::TipoCampo::real:
            if (!mismo_numero(a.*c.real, b.*c.real))
                falla("número distinto", banco + ", " + c.nombre + ": " +
                                             tev::forma_impresa(a.*c.real) + " / " +
                                             tev::forma_impresa(b.*c.real));
            break;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano)
{
    const std::string_view bytes(reinterpret_cast<const char*>(datos), tamano);
    const tev::LecturaColumna primera = tev::lee_columna(bytes, "entrada");
    if (!primera.ok) {
        if (primera.error.empty()) falla("lectura fallida sin mensaje", "");
        return 0;
    }
    if (primera.bancos.size() > static_cast<size_t>(tev::kMaxBancos))
        falla("más bancos que los admitidos", std::to_string(primera.bancos.size()));

    auto s = std::make_unique<tev::Store>();
    tev::carga_columna(*s, primera.bancos);
    const tev::EscrituraColumna escrita = tev::escribe_columna(*s);
    if (!escrita.ok) falla("no se pudo escribir lo leído", escrita.error);

    // The computation must end (and stay defined) on anything the reader accepts.
    const tev::ResultadoCalculo r = tev::tevarro(*s);
    if (!r.ok() && r.mensaje().empty()) falla("fallo de cálculo sin mensaje", "");

    const tev::LecturaColumna segunda = tev::lee_columna(escrita.bytes, "escrita");
    if (!segunda.ok) falla("lo escrito no se puede leer", segunda.error + "\n" + escrita.bytes);
    if (segunda.bancos.size() != primera.bancos.size())
        falla("cantidad de bancos distinta", escrita.bytes);
    for (size_t k = 0; k < primera.bancos.size(); ++k)
        compara(primera.bancos[k], segunda.bancos[k], k);

    auto s2 = std::make_unique<tev::Store>();
    tev::carga_columna(*s2, segunda.bancos);
    const tev::EscrituraColumna reescrita = tev::escribe_columna(*s2);
    if (!reescrita.ok || reescrita.bytes != escrita.bytes)
        falla("la segunda escritura no da los mismos bytes", escrita.bytes);

    const tev::EscrituraColumna csv = tev::escribe_csv(*s2);
    if (!csv.ok) falla("no se pudo escribir como CSV", csv.error);
    const tev::LecturaColumna hoja = tev::lee_csv(csv.bytes, "escrita.csv");
    if (!hoja.ok) falla("el CSV escrito no se puede leer", hoja.error + "\n" + csv.bytes);
    auto s3 = std::make_unique<tev::Store>();
    tev::carga_columna(*s3, hoja.bancos);
    const tev::EscrituraColumna vuelta = tev::escribe_columna(*s3);
    if (!vuelta.ok || vuelta.bytes != escrita.bytes)
        falla("proyecto -> CSV -> proyecto no da los mismos bytes", escrita.bytes);
    return 0;
}
