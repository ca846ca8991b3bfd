// Fuzz target of the CSV column reader.
//
// Whatever the reader accepts is loaded into a fresh store, computed, written
// as CSV in the file's own form and read again: the second reading must give
// the very same column (texts, remarks and colours exact, every single bit for
// bit) and writing it again the very same bytes. Written in the default form
// it must read back the same too. When the column also fits a project file,
// project -> CSV -> project must give that project file's bytes again.

#include "compute/tevarro.h"
#include "model/store.h"
#include "project_file/archivo_proyecto.h"
#include "project_file/columna.h"
#include "project_file/csv_columna.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

[[noreturn]] void falla(const char* que, const std::string& detalle)
{
    std::fprintf(stderr, "ida y vuelta CSV: %s\n%s\n", que, detalle.c_str());
    std::abort();
}

void compara_exacto(const std::vector<tev::RegistroBanco>& a,
                    const std::vector<tev::RegistroBanco>& b, const std::string& bytes)
{
    if (a.size() != b.size()) falla("cantidad de bancos distinta", bytes);
    for (size_t k = 0; k < a.size(); ++k) {
        for (const tev::Campo& c : tev::kCampos) {
            bool igual = true;
            switch (c.tipo) {
            case tev::TipoCampo::texto:
                igual = a[k].*c.texto == b[k].*c.texto;
                break;
            case tev::TipoCampo::entero:
                igual = a[k].*c.entero == b[k].*c.entero;
                break;
            case tev::TipoCampo::real:
                igual = std::memcmp(&(a[k].*c.real), &(b[k].*c.real), sizeof(float)) == 0;
                break;
            }
            if (!igual) falla("campo distinto", "banco " + std::to_string(k + 1) + ", " + c.clave);
        }
        if (a[k].notas != b[k].notas) falla("nota distinta", "banco " + std::to_string(k + 1));
    }
}

// The column read, in the file's form.
std::unique_ptr<tev::Store> carga(const tev::LecturaColumna& lectura)
{
    auto s = std::make_unique<tev::Store>();
    tev::carga_lectura(*s, lectura);
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t tamano)
{
    const std::string_view bytes(reinterpret_cast<const char*>(datos), tamano);
    const tev::LecturaColumna primera = tev::lee_csv(bytes, "entrada.csv");
    if (!primera.ok) {
        if (primera.error.empty()) falla("lectura fallida sin mensaje", "");
        if (!primera.bancos.empty()) falla("lectura fallida con bancos", primera.error);
        return 0;
    }
    if (primera.bancos.size() > static_cast<size_t>(tev::kMaxBancos))
        falla("más bancos que los admitidos", std::to_string(primera.bancos.size()));

    auto s = carga(primera);
    const tev::EscrituraColumna escrita = tev::escribe_csv(*s);
    if (!escrita.ok) falla("no se pudo escribir lo leído", escrita.error);
    const tev::EscrituraColumna proyecto = tev::escribe_columna(*s);

    // The computation must end (and stay defined) on anything the reader accepts.
    const tev::ResultadoCalculo r = tev::tevarro(*s);
    if (!r.ok() && r.mensaje().empty()) falla("fallo de cálculo sin mensaje", "");

    const tev::LecturaColumna segunda = tev::lee_csv(escrita.bytes, "escrita.csv");
    if (!segunda.ok) falla("lo escrito no se puede leer", segunda.error + "\n" + escrita.bytes);
    compara_exacto(primera.bancos, segunda.bancos, escrita.bytes);
    const tev::EscrituraColumna reescrita = tev::escribe_csv(*carga(segunda));
    if (!reescrita.ok || reescrita.bytes != escrita.bytes)
        falla("la segunda escritura no da los mismos bytes", escrita.bytes);

    tev::LecturaColumna sin_forma;
    sin_forma.bancos = primera.bancos;
    const tev::EscrituraColumna por_defecto = tev::escribe_csv(*carga(sin_forma));
    if (!por_defecto.ok) falla("no se pudo escribir en la forma por defecto", por_defecto.error);
    const tev::LecturaColumna tercera = tev::lee_csv(por_defecto.bytes, "defecto.csv");
    if (!tercera.ok) falla("la forma por defecto no se puede leer", tercera.error);
    compara_exacto(primera.bancos, tercera.bancos, por_defecto.bytes);

    // Texts that Windows-1252 lacks cannot go to a project file.
    if (!proyecto.ok) return 0;
    const tev::LecturaColumna p = tev::lee_columna(proyecto.bytes, "proyecto.tev");
    if (!p.ok) falla("el proyecto escrito no se puede leer", p.error + "\n" + proyecto.bytes);
    const tev::EscrituraColumna como_csv = tev::escribe_csv(*carga(p));
    if (!como_csv.ok) falla("el proyecto no se puede escribir como CSV", como_csv.error);
    const tev::LecturaColumna c = tev::lee_csv(como_csv.bytes, "proyecto.csv");
    if (!c.ok) falla("el CSV del proyecto no se puede leer", c.error + "\n" + como_csv.bytes);
    const tev::EscrituraColumna vuelta = tev::escribe_columna(*carga(c));
    if (!vuelta.ok || vuelta.bytes != proyecto.bytes)
        falla("proyecto -> CSV -> proyecto no da los mismos bytes", proyecto.bytes);
    return 0;
}
