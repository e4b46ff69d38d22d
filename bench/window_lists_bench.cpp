// Rebuilding the window's lists as a scan of many numbers does: cleared,
// then one line appended and selected per number.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QByteArray>
#include <QString>

#include "ui/list_box.h"

namespace {

void BM_RebuildOnlineList(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  umbra::ui::TListBox box;
  box.resize(125, 61);
  box.show();
  for (auto _ : state) {
    box.clear();
    for (int i = 0; i < count; ++i) {
      const QByteArray number = QByteArray::number(100000000 + i);
      box.AppendAndSelect(QString::fromLatin1(number), number);
    }
    QApplication::processEvents();  // the scroll to the last line
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_RebuildOnlineList)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
