#pragma once
// A page that opens overview pages in frames inside headless Chromium, works them as a
// user would (sort, filter, expand, open a chart) and writes what it saw into the DOM,
// as base64 of a JSON array, one object per page: rows, order, images, loaded, lazy,
// first {no, name, dept}, chartWidth, handlerAttributes, sortedUp, sortedDown, filtered,
// shown, expanded. Needs --allow-file-access-from-files to read the frames.

namespace morvik::testing {

// Replace PAGES with a JS array of {src, sortColumn, filter}.
inline constexpr char kBrowserHarness[] = R"html(<!DOCTYPE html>
<html><head><meta charset="utf-8"></head><body><pre id="result">pending</pre>
<script>
'use strict';
const wait = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const numbers = (d) => Array.from(d.getElementById('staff').tBodies)
    .filter((g) => !g.hidden).map((g) => g.rows[0].cells[1].textContent);
// A lazy image loads once it is scrolled into view; a detached one loads at once.
const width = async (img) => {
  img.scrollIntoView();
  for (let k = 0; k < 200 && !img.complete; k++) await wait(20);
  return img.naturalWidth;
};

async function open(src) {
  const frame = document.createElement('iframe');
  frame.style.width = '1400px';
  frame.style.height = '900px';
  frame.src = src;
  document.body.appendChild(frame);
  for (let k = 0; k < 400; k++) {
    const d = frame.contentDocument;
    const shown = d && d.getElementById('shown');
    if (d && d.readyState === 'complete' && shown && shown.textContent) return d;
    await wait(50);
  }
  throw new Error('the page did not load: ' + src);
}

async function check(page) {
  const d = await open(page.src);
  const table = d.getElementById('staff');
  const r = {rows: table.tBodies.length, order: numbers(d), images: d.images.length};
  r.lazy = Array.from(d.images).every((img) => img.loading === 'lazy');
  r.loaded = 0;
  for (const img of Array.from(d.images)) {
    if (await width(img) > 0) r.loaded += 1;
  }
  const first = table.tBodies[0].rows[0].cells;
  r.first = {no: first[1].textContent, name: first[2].textContent, dept: first[3].textContent};
  const link = first[0].querySelector('a');
  const chart = new Image();
  chart.src = link ? link.href : '';
  r.chartWidth = link ? await width(chart) : 0;
  r.handlerAttributes = Array.from(d.querySelectorAll('*'))
      .filter((e) => Array.from(e.attributes).some((a) => a.name.startsWith('on'))).length;
  const head = table.tHead.rows[0].cells[page.sortColumn];
  head.click();
  r.sortedUp = numbers(d);
  head.click();
  r.sortedDown = numbers(d);
  const filter = d.getElementById('filter');
  filter.value = page.filter;
  filter.dispatchEvent(new Event('input'));
  r.filtered = numbers(d);
  r.shown = d.getElementById('shown').textContent;
  const button = d.querySelector('tbody:not([hidden]) button.toggle');
  if (button) {
    button.click();
    r.expanded = !button.closest('tbody').rows[1].hidden;
  }
  return r;
}

(async () => {
  const results = [];
  try {
    for (const page of PAGES) results.push(await check(page));
  } catch (e) {
    results.push({error: String(e)});
  }
  const json = JSON.stringify(results);
  document.getElementById('result').textContent = btoa(unescape(encodeURIComponent(json)));
})();
</script></body></html>
)html";

}  // namespace morvik::testing
