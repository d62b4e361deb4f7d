// A picture on screen: the road in plan or profile, or a points map, with zoom about the cursor
// (wheel), pan (drag), fit to the data, a readout of where the cursor is, and saving as SVG or
// PNG. It draws what the picture layer computed; with very many marks it draws them as pixels and
// leaves the labels out until the view is zoomed in.
#pragma once

#include "plot/picture.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

#include <functional>

namespace telvane {

class PlotView : public QWidget {
    Q_OBJECT
public:
    explicit PlotView(QWidget* parent = nullptr);

    // Labels are bytes of the code page; `decode` shows them.
    void SetPicture(plot::Picture picture);
    // A picture whose curves are sampled for a chord tolerance (world units): the view takes it
    // again whenever the zoom on show needs finer chords (half a pixel), so curves stay curves
    // at every zoom. Replaces the picture and fits it.
    using Sampler = std::function<plot::Picture(double tolerance)>;
    void SetSampler(Sampler sampler);
    // The chord tolerance the picture on show was sampled for (0 without a sampler).
    double SampledTolerance() const { return sampled_tolerance_; }
    const plot::Picture& Picture() const { return picture_; }
    void Fit();
    // Zooms by `factor` keeping the world point under `at` (widget pixels) where it is.
    void ZoomAt(QPointF at, double factor);
    void PanBy(QPointF pixels);
    // World coordinates of a widget point, and back.
    plot::XY ToWorld(QPointF at) const;
    QPointF ToScreen(plot::XY world) const;
    // The readout for a widget point: North/East with chainage and offset on the axis (plans), or
    // chainage and elevation (profiles).
    QString Readout(QPointF at) const;
    // The mark nearest to a widget point within a few pixels, or -1.
    int MarkAt(QPointF at) const;
    // Writes the picture: ".png" as an image of the view on a white background, at the size on
    // screen (in device pixels) and at least 1200 pixels wide; anything else as SVG.
    bool Save(const QString& path, const QString& title);

    // Texts of the readout: chainage, offset, North, East, elevation (from the language table).
    QString chainage_text = QStringLiteral("K");
    QString offset_text = QStringLiteral("offset");
    QString north_text = QStringLiteral("N");
    QString east_text = QStringLiteral("E");
    QString height_text = QStringLiteral("Z");

signals:
    void ReadoutChanged(const QString& text);
    void MarkClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The scale bar and North arrow of a plan, the axes of a profile.
    void draw_frame(QPainter& p) const;
    // Everything but the background, in widget coordinates.
    void draw(QPainter& p) const;
    // Samples the picture again when the zoom on show needs other chords.
    void resample();
    // Room for the axes of a profile and for the labels of the marks, in pixels.
    QMarginsF fit_margins() const;

    Sampler sampler_;
    double sampled_tolerance_ = 0;

    plot::Picture picture_;
    double scale_x_ = 1, scale_y_ = 1;   // pixels per world unit
    double origin_x_ = 0, origin_y_ = 0; // world point at the widget's top-left corner
    bool fitted_ = false;
    QPointF press_, last_;
    bool dragging_ = false;
};

} // namespace telvane
