#pragma once

#include <QImage>
#include <QtGlobal>

#include <functional>

// Consumer of finished frames: the frame and its time in 100-ns units; false stops.
using FrameSink = std::function<bool(QImage frame, qint64 timestamp)>;
// Supplies the old or the new picture of a transition.
using PictureSource = std::function<QImage()>;
// Receives each transition frame with its index and the frame count; false stops.
using TransitionFrameSink = std::function<bool(const QImage& frame, int index, int count)>;
