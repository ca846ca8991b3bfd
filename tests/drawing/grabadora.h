#pragma once
// A paint device that keeps what a painter draws on it instead of pixels:
// every text with the box its font gives it, and every filled rectangle with
// its colour. Tests read the drawing's texts and boxes from it without going
// through the drawing's own layout code.

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QRectF>
#include <QString>
#include <QTextItem>

#include <memory>
#include <vector>

namespace tev::prueba {

struct TextoGrabado {
    QString texto;
    QRectF caja; // from the pen position: the advance across, ascent + descent down
};

struct RellenoGrabado {
    QRectF rect;
    QColor color;
};

class Grabadora : public QPaintDevice {
  public:
    explicit Grabadora(QSize tamano) : tamano_(tamano), motor_(std::make_unique<Motor>()) {}

    QPaintEngine* paintEngine() const override { return motor_.get(); }
    [[nodiscard]] const std::vector<TextoGrabado>& textos() const { return motor_->textos; }
    [[nodiscard]] const std::vector<RellenoGrabado>& rellenos() const { return motor_->rellenos; }

  protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth:
            return tamano_.width();
        case PdmHeight:
            return tamano_.height();
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(m);
        }
    }

  private:
    class Motor : public QPaintEngine {
      public:
        Motor() : QPaintEngine(QPaintEngine::AllFeatures) {}
        std::vector<TextoGrabado> textos;
        std::vector<RellenoGrabado> rellenos;

        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState& s) override
        {
            if (s.state() & DirtyBrush) brocha_ = s.brush();
            if (s.state() & DirtyTransform) transformacion_ = s.transform();
        }
        Type type() const override { return QPaintEngine::User; }
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawPath(const QPainterPath&) override {}
        void drawLines(const QLineF*, int) override {}
        void drawRects(const QRectF* r, int n) override
        {
            if (brocha_.style() != Qt::SolidPattern) return;
            for (int k = 0; k < n; ++k)
                rellenos.push_back({transformacion_.mapRect(r[k]), brocha_.color()});
        }
        void drawTextItem(const QPointF& p, const QTextItem& t) override
        {
            // A turned text (an axis caption) keeps the box around it.
            const QFontMetricsF fm(t.font());
            textos.push_back({t.text(), transformacion_.mapRect(
                                            QRectF(p.x(), p.y() - fm.ascent(),
                                                   fm.horizontalAdvance(t.text()), fm.height()))});
        }

      private:
        QBrush brocha_;
        QTransform transformacion_;
    };

    QSize tamano_;
    std::unique_ptr<Motor> motor_;
};

} // namespace tev::prueba
