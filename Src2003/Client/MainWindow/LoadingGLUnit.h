#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class QTimer;

// The splash window shown while the program starts: a picture over a lowered
// panel with "Carregando..." along its bottom edge. It stays up at least
// kMinimumShowTime from its creation; the start-up waits on Finished().
class TfrmLoading : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kWidth = 972;
  static constexpr int kHeight = 451;
  static constexpr int kMinimumShowTime = 3000;  // ms

  // showTime: how long the splash stays at least; the benchmark passes 0.
  explicit TfrmLoading(int showTime = kMinimumShowTime);

  // True once the timer has run out.
  bool Finished() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PlaceLoadingLabel();

  QFrame* panel_;
  QLabel* picture_;
  QLabel* loadingLabel_;
  QTimer* timer_;
};

// The show time of the splash: kMinimumShowTime, or the milliseconds in the
// environment variable PANDECTA_SPLASH_MS (benchmarks and scripted runs).
int SplashShowTime();
