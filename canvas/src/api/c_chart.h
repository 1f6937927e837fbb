/* The chart core behind a C interface over the chart's JSON form, for the WebAssembly build and any other
 * caller without C++: make a chart from its text, set and read its view, render its document (or what the
 * pointer draws, alone) into a buffer the chart keeps, find the bar under an x, and grow the chart by a bar.
 * Nothing throws; every function returns a status. */
#ifndef QC_API_C_CHART_H
#define QC_API_C_CHART_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__wasm__)
#define QC_C_EXPORT(name) __attribute__((export_name(#name))) name
#else
#define QC_C_EXPORT(name) name
#endif

enum qc_status {
  QC_OK = 0,
  QC_BAD_ARGUMENT = 1, /* a null pointer, or a view that selects no bars */
  QC_BAD_TEXT = 2,     /* a text the chart's JSON reader refuses: qc_error names the first bad key path */
  QC_OUTSIDE = 3,      /* no bar under that x */
  QC_REFUSED = 4       /* a bar the chart does not take: qc_error says why */
};

typedef struct qc_chart qc_chart;

/* Memory the caller fills before a call (the JSON text), as malloc and free give it. */
void* QC_C_EXPORT(qc_alloc)(size_t size);
void QC_C_EXPORT(qc_free)(void* p);

/* The chart `text` holds (`size` bytes of a to_json text), in *out; null in *out on failure. */
int QC_C_EXPORT(qc_chart_new)(const char* text, size_t size, qc_chart** out);
void QC_C_EXPORT(qc_chart_free)(qc_chart* chart);

/* The failure of the last qc_chart_new that failed, or why the last bar refused was refused, as the Python
 * module words it; *size its length. */
const char* QC_C_EXPORT(qc_error)(size_t* size);

/* Bars first..last (inclusive; negative ones count from the end) drawn from now on. */
int QC_C_EXPORT(qc_chart_set_view)(qc_chart* chart, int64_t first, int64_t last);
/* The bars drawn, both inclusive, as indices of the full series: all of them without a view; -1 and -1
 * when the chart holds no bars. */
int QC_C_EXPORT(qc_chart_view)(const qc_chart* chart, int64_t* first, int64_t* last);

/* All the bars the chart holds, whatever its view. */
int QC_C_EXPORT(qc_chart_bar_count)(const qc_chart* chart, int64_t* count);
/* The width of the plot (the panes beside the price scale) in document pixels: the span the drawn bars share. */
int QC_C_EXPORT(qc_chart_plot_width)(const qc_chart* chart, double* width);

/* The document, into a buffer the chart keeps until its next render or its end: *data and *size. A non-null
 * `pointer` is an (x, y) pair in document pixels: over the plot, the document ends with the group of what the
 * pointer draws there (the crosshair, the hovered bar's values), as the Python module's
 * render_svg(pointer=(x, y)) does. */
int QC_C_EXPORT(qc_chart_render)(qc_chart* chart, const double* pointer, const char** data, size_t* size);

/* That group alone (the text qc_chart_render puts before the document's "</svg>" for the same pointer), into a
 * buffer of its own the chart keeps until its next such call or its end; empty (*size 0) for a pointer off
 * the plot or a chart without bars. `pointer` is required. */
int QC_C_EXPORT(qc_chart_render_pointer)(qc_chart* chart, const double* pointer, const char** data, size_t* size);

/* The index (in the full series) of the bar a pointer at x (document pixels from the left edge) hovers: the
 * drawn bar whose centre lies nearest x; QC_OUTSIDE left or right of the plot. */
int QC_C_EXPORT(qc_chart_bar_at)(const qc_chart* chart, double x, int64_t* bar);

/* One bar (time in seconds) after the last, a chart without bars starting with it (append), or in place of the
 * last bar, of the same time (update): the chart grows as the Python module's Chart.append and Chart.update grow
 * it, with the same rules. A refused bar (QC_REFUSED) changes nothing, and qc_error gives the text of the
 * Python module's ValueError for it. A view in negative indices follows the new bars; one in positive indices
 * stays. */
int QC_C_EXPORT(qc_chart_append)(qc_chart* chart, int64_t time, double open, double high, double low, double close,
                                 double volume);
int QC_C_EXPORT(qc_chart_update)(qc_chart* chart, int64_t time, double open, double high, double low, double close,
                                 double volume);

/* ---- charts in a figure ---- */

/* From now on the chart's documents are written as a figure nests them at cell `index`, corner (x, y): no XML
 * declaration, the root given x and y, the ids prefixed "c<index>-" (so that several charts' documents can
 * stand in one page). */
int QC_C_EXPORT(qc_chart_nest)(qc_chart* chart, uint32_t index, double x, double y);
/* `chart` draws the bars whose times fall in `first`'s view (all of them when `first` draws all its bars),
 * or, when none falls there, no bars at all ("No data", no view: -1 and -1, no bar under any x). */
int QC_C_EXPORT(qc_chart_share_time)(qc_chart* chart, const qc_chart* first);
/* The time of bar `bar` (an index in the full series), in seconds since 1970 UTC; QC_OUTSIDE past the bars. */
int QC_C_EXPORT(qc_chart_bar_time)(const qc_chart* chart, int64_t bar, int64_t* time);
/* The bar holding instant `time`: the last bar at or before it, its span reaching to the next bar's time (the
 * last bar's as long as the span before it); QC_OUTSIDE when no bar holds it. */
int QC_C_EXPORT(qc_chart_bar_holding)(const qc_chart* chart, int64_t time, int64_t* bar);
/* The x (document pixels) of the centre of bar `bar`; QC_OUTSIDE for a bar the chart does not draw. */
int QC_C_EXPORT(qc_chart_bar_x)(const qc_chart* chart, int64_t bar, double* x);

#ifdef __cplusplus
}
#endif

#endif /* QC_API_C_CHART_H */
