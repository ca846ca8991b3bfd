#include "window_helpers/curva_en_uso.h"

#include "drawing/nivel_mar_en_dibujo.h"
#include "model/store.h"
#include "project_file/curva_nivel_mar.h"
#include "window_helpers/preferencias.h"

#include <QFile>
#include <QLabel>
#include <QResizeEvent>

namespace tev {

namespace {

struct EnUso {
    CurvaNivelMar curva;
    QString nota;
};

EnUso& en_uso()
{
    static EnUso e;
    return e;
}

const char* const kGrupo = "modelo";

// Keeps a label at the bottom left corner of the window it watches.
class AlPie : public QObject {
  public:
    AlPie(QWidget* ventana, QLabel* etiqueta) : QObject(etiqueta), etiqueta_(etiqueta)
    {
        ventana->installEventFilter(this);
        coloca(ventana->size());
    }
    bool eventFilter(QObject* objeto, QEvent* e) override
    {
        if (e->type() == QEvent::Resize) coloca(static_cast<QResizeEvent*>(e)->size());
        return QObject::eventFilter(objeto, e);
    }
    void coloca(QSize tamano)
    {
        etiqueta_->adjustSize();
        etiqueta_->move(2, tamano.height() - etiqueta_->height() - 2);
    }
    QLabel* etiqueta_;
};

} // namespace

AvisoDeCurva& aviso_de_curva()
{
    static AvisoDeCurva aviso;
    return aviso;
}

const CurvaNivelMar& curva_en_uso()
{
    return en_uso().curva;
}

const QString& nota_de_curva()
{
    return en_uso().nota;
}

void pon_curva_en_uso(const CurvaNivelMar& curva, const QString& nota)
{
    en_uso().curva = curva;
    en_uso().nota = nota;
    emit aviso_de_curva().cambiada();
}

QString lee_curva_de_preferencias()
{
    QSettings p = preferencias();
    p.beginGroup(kGrupo);
    const QString tipo = p.value("curva", "tabla").toString();
    const QString archivo = p.value("archivo").toString();
    p.endGroup();
    CurvaNivelMar curva;
    QString nota;
    if (tipo == "ninguno") {
        curva.tipo = CurvaNivelMar::Tipo::ninguna;
    } else if (tipo == "archivo") {
        const LecturaCurva l = lee_archivo_curva(QFile::encodeName(archivo).toStdString());
        if (l.ok)
            curva = l.curva;
        else
            nota = QString::fromStdString(l.error);
    }
    pon_curva_en_uso(curva, nota);
    return nota;
}

void guarda_curva_en_preferencias(const CurvaNivelMar& curva)
{
    QSettings p = preferencias();
    p.beginGroup(kGrupo);
    switch (curva.tipo) {
    case CurvaNivelMar::Tipo::tabla:
        p.setValue("curva", "tabla");
        p.remove("archivo");
        break;
    case CurvaNivelMar::Tipo::ninguna:
        p.setValue("curva", "ninguno");
        p.remove("archivo");
        break;
    case CurvaNivelMar::Tipo::usuario:
        p.setValue("curva", "archivo");
        p.setValue("archivo", QFile::decodeName(curva.archivo.c_str()));
        break;
    }
    p.endGroup();
}

Dibujo con_curva_en_uso(Dibujo dibujo)
{
    return con_nivel_mar(std::move(dibujo), curva_en_uso());
}

void pon_nivel_mar_en_uso(Store& s)
{
    if (curva_en_uso().tipo != CurvaNivelMar::Tipo::tabla) pon_nivel_mar(s, curva_en_uso());
}

QString texto_de_curva()
{
    QString t = texto_de_nivel_mar(curva_en_uso());
    if (!nota_de_curva().isEmpty()) t += " (" + nota_de_curva() + ")";
    return t;
}

bool curva_a_la_vista()
{
    return curva_en_uso().tipo != CurvaNivelMar::Tipo::tabla || !nota_de_curva().isEmpty();
}

QLabel* etiqueta_de_curva(QWidget* padre)
{
    auto* l = new QLabel(padre);
    l->setObjectName("nivel_mar_lbl");
    auto sigue = [l] {
        l->setText(texto_de_curva());
        // The whole text too, which a narrow bar cuts.
        l->setToolTip(curva_en_uso().tipo == CurvaNivelMar::Tipo::usuario
                          ? QFile::decodeName(curva_en_uso().archivo.c_str())
                      : nota_de_curva().isEmpty() ? QString()
                                                  : texto_de_curva());
        l->setVisible(curva_a_la_vista());
    };
    sigue();
    QObject::connect(&aviso_de_curva(), &AvisoDeCurva::cambiada, l, sigue);
    return l;
}

QLabel* etiqueta_de_curva_abajo(QWidget* ventana)
{
    QLabel* l = etiqueta_de_curva(ventana);
    l->setAutoFillBackground(true);
    l->setBackgroundRole(QPalette::Window);
    l->setMargin(2);
    auto* pie = new AlPie(ventana, l);
    // A longer text needs the label wider.
    QObject::connect(&aviso_de_curva(), &AvisoDeCurva::cambiada, pie,
                     [ventana, pie] { pie->coloca(ventana->size()); });
    return l;
}

} // namespace tev
