/* The literal scan in plain C, the yardstick of the batch benchmarks: reads
 * project files naively (fourteen comma-separated fields a line, numbers
 * through strtof, no quotes, no checks) and, for every bed, evaluates all
 * 10000 candidates with the program's arithmetic: c = coefficient / 1000 in
 * single precision, c * z2' in single precision before its exponential, the
 * residual as the root of the square, the first candidate reaching the
 * minimum wins. Then the loads, and one line per bed on the standard output.
 *
 * Usage: barrido_literal FILE... */

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum { kCandidatos = 10000, kMaxBancos = 100 };

typedef struct {
    float techo, base, porosidad, coef, densidad_grano, paleobatimetria;
} Banco;

/* Grain density of the lithologies, kg/m3 (a mix, or an unknown name,
 * counts as 0: the yardstick times the search, not the densities). */
static float densidad_de_grano(const char* litologia)
{
    if (strcmp(litologia, "Pelitas") == 0) return 2720.0f;
    if (strcmp(litologia, "Areniscas") == 0) return 2650.0f;
    if (strcmp(litologia, "Arcosas") == 0) return 2680.0f;
    if (strcmp(litologia, "Evaporitas") == 0) return 2710.0f;
    if (strcmp(litologia, "Calizas") == 0) return 2680.0f;
    return 0.0f;
}

static int lee(const char* ruta, Banco* bancos)
{
    FILE* f = fopen(ruta, "rb");
    if (!f) return -1;
    char linea[4096];
    int n = 0;
    while (n < kMaxBancos && fgets(linea, sizeof linea, f)) {
        char* campos[14];
        int k = 0;
        char* p = linea;
        campos[k++] = p;
        for (; *p && k < 14; ++p) {
            if (*p == ',') {
                *p = '\0';
                campos[k++] = p + 1;
            }
        }
        if (k < 14) continue;
        Banco* b = &bancos[n++];
        b->techo = strtof(campos[1], NULL);
        b->base = strtof(campos[2], NULL);
        b->densidad_grano = densidad_de_grano(campos[5]);
        b->porosidad = strtof(campos[7], NULL);
        b->coef = strtof(campos[8], NULL);
        b->paleobatimetria = strtof(campos[9], NULL);
    }
    fclose(f);
    return n;
}

/* The decompacted base of one bed; 0 when no candidate beats 100000. */
static float descompacta(float z1, float z2, float phi, float c)
{
    const double cd = c;
    const double q = (double)phi / cd;
    const double fija =
        ((double)z2 - (double)z1) - q * (exp(-cd * (double)z1) - exp(-cd * (double)z2));
    const double e_cero = exp(-(double)(c * 0.0f));
    double mejor = 100000;
    float base = 0;
    for (int t = 1; t <= kCandidatos; ++t) {
        const float producto = c * (float)t;
        const double r = fija + q * (e_cero - exp(-(double)producto));
        const double d = (double)t - r;
        const double residuo = sqrt(d * d);
        if (residuo < mejor) {
            mejor = residuo;
            base = (float)t;
        }
    }
    return base;
}

int main(int argc, char** argv)
{
    static Banco bancos[kMaxBancos];
    int codigo = 0;
    for (int a = 1; a < argc; ++a) {
        const int n = lee(argv[a], bancos);
        if (n < 0) {
            fprintf(stderr, "barrido_literal: no se pudo leer %s\n", argv[a]);
            codigo = 1;
            continue;
        }
        for (int i = n - 1; i >= 0; --i) {
            const Banco* b = &bancos[i];
            const float c = b->coef / 1000.0f;
            const float base = descompacta(b->techo, b->base, b->porosidad, c);
            const float densidad = (1 - b->porosidad) * b->densidad_grano + b->porosidad * 1000.0f;
            const float carga = base * (3300.0f - densidad) / (3300.0f - 1000.0f);
            const float tectonica = carga + b->paleobatimetria;
            printf("%s,%d,%g,%g,%g\n", argv[a], i + 1, (double)base, (double)carga,
                   (double)tectonica);
        }
    }
    return codigo;
}
