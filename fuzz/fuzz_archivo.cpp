// Fuzz target of the project file reader.
//
// Whatever the reader accepts is loaded into a fresh store, computed, written
// and read again: the second reading must give the same column in the file's
// own forms (texts and colours exact, numbers equal to the 7 digits the file
// keeps), and writing it again must give the very same bytes.

#include "compute/tevarro.h"
#include "model/store.h"
#include "project_file/archivo_proyecto.h"
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
    if (a.nombre != b.nombre) falla("nombre distinto", banco);
    if (a.litologia != b.litologia) falla("litología distinta", banco);
    if (a.color != b.color) falla("color distinto", banco);
    const float x[] = {a.techo,         a.base,           a.edad_techo,  a.edad_base,
                       a.porosidad,     a.coef_porosidad, a.paleobatimetria,
                       a.pct_arenisca,  a.pct_pelita,     a.pct_caliza,  a.pct_evaporita};
    const float y[] = {b.techo,         b.base,           b.edad_techo,  b.edad_base,
                       b.porosidad,     b.coef_porosidad, b.paleobatimetria,
                       b.pct_arenisca,  b.pct_pelita,     b.pct_caliza,  b.pct_evaporita};
    for (size_t c = 0; c < sizeof x / sizeof x[0]; ++c)
        if (!mismo_numero(x[c], y[c]))
            falla("número distinto", banco + ", número " + std::to_string(c) + ": " +
                                         tev::forma_impresa(x[c]) + " / " +
                                         tev::forma_impresa(y[c]));
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
    return 0;
}
