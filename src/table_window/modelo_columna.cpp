#include "table_window/modelo_columna.h"

#include "compute/captura_banco.h"
#include "compute/celdas_columna.h"
#include "compute/celdas_rangos.h"
#include "drawing/unidades.h"
#include "model/bancos_sin_roca.h"
#include "model/store.h"

#include <QBrush>
#include <QColor>

namespace tev {

namespace {

const QColor kFondoResultado(232, 232, 232);
const QColor kTextoResultado(80, 80, 80);
const QColor kFondoRechazo(0xff, 0xd6, 0xd6); // as the bed dialog marks a box
const QColor kFondoPorcentajes(0xff, 0xff, 0x00);
const QColor kFondoSinRoca(0xff, 0xe0, 0xb0); // as the bed dialog marks a bed without a rock

bool es_porcentaje(int c)
{
    return c >= kColArenisca && c <= kColEvaporita;
}

bool es_texto(int c)
{
    return c == kColNombre || c == kColLitologia || c == kColColor || c == kColNotas;
}

} // namespace

ModeloColumna::ModeloColumna(const Store& s, QObject* padre)
    : QAbstractTableModel(padre), s_(s), filas_(s.n_bancos)
{
    rehace_textos();
}

void ModeloColumna::rehace_textos()
{
    const int n = s_.n_bancos;
    textos_.assign(static_cast<size_t>(n) * kColumnasTabla, QString());
    error_pct_.assign(static_cast<size_t>(n), false);
    for (int f = 0; f < n; ++f) {
        const int b = banco_de_fila(s_, f);
        error_pct_[static_cast<size_t>(f)] = error_de_porcentajes(s_, b);
        for (int c = 0; c < kColumnasTabla; ++c)
            textos_[static_cast<size_t>(f) * kColumnasTabla + static_cast<size_t>(c)] =
                QString::fromStdString(texto_de_celda(s_, b, c, decimal));
    }
    avisos_.clear();
    avisos_por_celda_.clear();
    for (const AvisoSinRoca& a : bancos_sin_roca(s_)) {
        const QString texto = QString::fromStdString(a.texto);
        avisos_ << texto;
        const int f = s_.n_bancos - a.banco;
        auto anota = [&](int c) {
            QString& t = avisos_por_celda_[{f, c}];
            t += (t.isEmpty() ? "" : "\n") + texto;
        };
        switch (a.motivo) {
        case MotivoSinRoca::litologia_desconocida:
            anota(kColLitologia);
            break;
        case MotivoSinRoca::porcentajes:
            for (int c = kColArenisca; c <= kColEvaporita; ++c)
                anota(c);
            break;
        case MotivoSinRoca::porosidad:
            anota(kColPorosidad);
            break;
        case MotivoSinRoca::coeficiente:
            anota(kColCoeficiente);
            break;
        }
    }
}

QString ModeloColumna::aviso_de(int fila, int columna) const
{
    const auto it = avisos_por_celda_.find({fila, columna});
    return it == avisos_por_celda_.end() ? QString() : it->second;
}

int ModeloColumna::rowCount(const QModelIndex& padre) const
{
    return padre.isValid() ? 0 : filas_;
}

int ModeloColumna::columnCount(const QModelIndex& padre) const
{
    if (padre.isValid()) return 0;
    return rangos_ ? kColumnasTabla + kNumExtremos : kColumnasTabla;
}

void ModeloColumna::muestra_rangos(bool si)
{
    if (si == rangos_) return;
    if (si)
        beginInsertColumns({}, kColumnasTabla, kColumnasTabla + kNumExtremos - 1);
    else
        beginRemoveColumns({}, kColumnasTabla, kColumnasTabla + kNumExtremos - 1);
    rangos_ = si;
    if (si)
        endInsertColumns();
    else
        endRemoveColumns();
}

QVariant ModeloColumna::data(const QModelIndex& i, int rol) const
{
    const int f = i.row();
    const int c = i.column();
    if (f < 0 || f >= filas_ || static_cast<size_t>(f) >= error_pct_.size()) return {};
    const int b = banco_de_fila(s_, f);
    const QString marca = marca_de(f, c);
    if (c >= kColumnasTabla) {
        // A range's end: typed, right aligned, marked when refused.
        switch (rol) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return QString::fromStdString(texto_de_extremo(s_, b, c - kColumnasTabla, decimal));
        case Qt::ToolTipRole:
            return marca.isEmpty() ? QVariant() : QVariant(marca);
        case Qt::BackgroundRole:
            return marca.isEmpty() ? QVariant() : QVariant(QBrush(kFondoRechazo));
        case Qt::TextAlignmentRole:
            return {Qt::AlignRight | Qt::AlignVCenter};
        default:
            return {};
        }
    }
    const QString aviso = aviso_de(f, c);
    const bool error_pct = (c == kColNumero || c == kColLitologia || es_porcentaje(c)) &&
                           error_pct_[static_cast<size_t>(f)];
    switch (rol) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return textos_[static_cast<size_t>(f) * kColumnasTabla + static_cast<size_t>(c)];
    case Qt::ToolTipRole: {
        // What was refused, the sums, then the rock: one a line.
        QStringList t;
        if (!marca.isEmpty()) t << marca;
        if (marca.isEmpty() && error_pct)
            t << QString::fromUtf8("ERROR DE PORCENTAJES: los cuatro porcentajes del banco "
                                   "%1 no suman 100.")
                     .arg(b);
        if (!aviso.isEmpty()) t << aviso;
        if (t.isEmpty()) return {};
        return t.join('\n');
    }
    case Qt::BackgroundRole:
        if (!marca.isEmpty()) return QBrush(kFondoRechazo);
        if (error_pct) return QBrush(kFondoPorcentajes);
        if (!aviso.isEmpty()) return QBrush(kFondoSinRoca);
        if (!es_de_entrada(c)) return QBrush(kFondoResultado);
        return {};
    case Qt::ForegroundRole:
        if (c > kColNotas) return QBrush(kTextoResultado);
        return {};
    case Qt::DecorationRole:
        if (c == kColColor) return color_de(s_.color[b]);
        return {};
    case Qt::TextAlignmentRole:
        if (es_texto(c)) return {Qt::AlignLeft | Qt::AlignVCenter};
        return {Qt::AlignRight | Qt::AlignVCenter};
    default:
        return {};
    }
}

QVariant ModeloColumna::headerData(int seccion, Qt::Orientation o, int rol) const
{
    if (rol != Qt::DisplayRole) return {};
    // The unit on a line of its own keeps the columns narrow; a copy's
    // captions keep it on the same line.
    if (o == Qt::Horizontal)
        return QString::fromUtf8(seccion >= kColumnasTabla
                                     ? titulo_de_extremo(seccion - kColumnasTabla)
                                     : titulo_de_columna(seccion))
            .replace(" (", "\n(");
    return seccion + 1;
}

Qt::ItemFlags ModeloColumna::flags(const QModelIndex& i) const
{
    Qt::ItemFlags f = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (es_de_entrada(i.column()) || i.column() >= kColumnasTabla) f |= Qt::ItemIsEditable;
    return f;
}

bool ModeloColumna::setData(const QModelIndex& i, const QVariant& valor, int rol)
{
    if (rol != Qt::EditRole || !(flags(i) & Qt::ItemIsEditable) || !edita) return false;
    edita(i.row(), i.column(), valor.toString());
    return true;
}

void ModeloColumna::marca(int fila, int columna, const QString& motivo)
{
    marcas_[{fila, columna}] = motivo;
    const QModelIndex i = index(fila, columna);
    emit dataChanged(i, i);
}

void ModeloColumna::desmarca(int fila, int columna)
{
    if (marcas_.erase({fila, columna}) == 0) return;
    const QModelIndex i = index(fila, columna);
    emit dataChanged(i, i);
}

void ModeloColumna::quita_marcas()
{
    marcas_.clear();
}

QString ModeloColumna::marca_de(int fila, int columna) const
{
    const auto it = marcas_.find({fila, columna});
    return it == marcas_.end() ? QString() : it->second;
}

void ModeloColumna::refresca()
{
    rehace_textos();
    if (filas_ != s_.n_bancos) {
        beginResetModel();
        filas_ = s_.n_bancos;
        endResetModel();
        return;
    }
    if (filas_ > 0) emit dataChanged(index(0, 0), index(filas_ - 1, columnCount() - 1));
}

} // namespace tev
