#include "overview/page_assets.h"

namespace morvik::overview {

const char kPageStyle[] = R"css(
body { font-family: "IPAGothic", "MS Gothic", sans-serif; margin: 1em 1.5em; color: #222; }
h1 { font-size: 1.4em; margin: 0 0 .2em; }
.run { color: #555; margin: 0 0 .6em; }
.counts { display: flex; flex-wrap: wrap; gap: .4em 1.2em; padding: 0; margin: 0 0 .8em; list-style: none; }
.counts b { font-size: 1.15em; }
.controls { margin: 0 0 .6em; }
#filter { font-size: 1em; padding: .3em .5em; width: 24em; }
#shown { margin-left: 1em; color: #555; }
table.staff { border-collapse: collapse; font-size: .9em; }
table.staff th, table.staff td { border-bottom: 1px solid #ddd; padding: .25em .5em; text-align: left; }
table.staff td.num { text-align: right; font-variant-numeric: tabular-nums; }
table.staff thead th { position: sticky; top: 0; background: #f3f5f8; cursor: pointer; white-space: nowrap; }
table.staff thead th.plain { cursor: default; }
th[aria-sort="ascending"]::after { content: " ▲"; }
th[aria-sort="descending"]::after { content: " ▼"; }
tr.main:hover { background: #f7faff; }
td.thumb img { display: block; border: 1px solid #bbb; background: #fff; }
.badge { display: inline-block; padding: .1em .45em; border-radius: .8em; font-weight: bold; white-space: nowrap; }
.level-1 { background: #ffe08a; }
.level-2 { background: #ff9f5a; }
.level-3 { background: #d62828; color: #fff; }
button.toggle { font: inherit; cursor: pointer; white-space: nowrap; }
tr.findings > td { background: #fafafa; padding: .4em 1em .8em 3em; }
table.finding-list { border-collapse: collapse; }
table.finding-list th, table.finding-list td { padding: .1em .6em; border-bottom: 1px solid #e4e4e4; }
.empty { color: #999; }
@media print {
  .controls, button.toggle { display: none; }
  tr.findings { display: none; }
  thead th { position: static; }
  td.thumb img { width: 64px; height: 48px; }
  tbody { break-inside: avoid; }
}
)css";

// Sorting moves whole staff groups (a tbody each: the row and its findings); filtering
// hides them. Only cell texts and data attributes are read, and only textContent and
// attributes are written, so nothing from the exports can become markup or code.
const char kPageScript[] = R"js(
(() => {
  'use strict';
  const table = document.getElementById('staff');
  const heads = Array.from(table.tHead.rows[0].cells);
  const filter = document.getElementById('filter');
  const shown = document.getElementById('shown');
  const groups = () => Array.from(table.tBodies);
  let sortColumn = -1;
  let descending = false;

  const cellValue = (group, column, numeric) => {
    const cell = group.rows[0].cells[column];
    const text = cell.dataset.sort !== undefined ? cell.dataset.sort : cell.textContent;
    return numeric ? Number(text) : text;
  };

  const sortBy = (column) => {
    const numeric = heads[column].dataset.type === 'num';
    descending = column === sortColumn ? !descending : numeric;
    sortColumn = column;
    const sorted = groups().sort((a, b) => {
      const x = cellValue(a, column, numeric);
      const y = cellValue(b, column, numeric);
      let order = numeric ? x - y : x.localeCompare(y, 'ja');
      if (descending) order = -order;
      return order || Number(a.dataset.order) - Number(b.dataset.order);
    });
    for (const group of sorted) table.appendChild(group);
    heads.forEach((head, k) => {
      if (head.dataset.type) {
        head.setAttribute('aria-sort', k === column ? (descending ? 'descending' : 'ascending') : 'none');
      }
    });
  };

  const applyFilter = () => {
    const words = filter.value.trim().toLowerCase().split(/\s+/).filter(Boolean);
    let count = 0;
    const all = groups();
    for (const group of all) {
      const text = group.rows[0].textContent.toLowerCase();
      group.hidden = !words.every((word) => text.includes(word));
      if (!group.hidden) count += 1;
    }
    shown.textContent = count + ' / ' + all.length + ' 名を表示';
  };

  const toggle = (group) => {
    const detail = group.rows[1];
    const button = group.querySelector('button.toggle');
    if (!detail || !button) return;
    detail.hidden = !detail.hidden;
    button.setAttribute('aria-expanded', String(!detail.hidden));
  };

  heads.forEach((head, k) => {
    if (head.dataset.type) head.addEventListener('click', () => sortBy(k));
  });
  filter.addEventListener('input', applyFilter);
  table.addEventListener('click', (event) => {
    if (event.target.closest('a')) return;
    const row = event.target.closest('tr.main');
    if (row) toggle(row.parentElement);
  });
  applyFilter();
})();
)js";

}  // namespace morvik::overview
