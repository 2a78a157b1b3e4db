/*
 * kestro stats - the season pages' script.
 *
 * Sorts the tables marked data-sortable when a column heading is clicked and
 * filters the leaderboard by the find-a-player box. The pages are complete
 * without it: the leaderboard is written in skill order, and the find box
 * then simply opens the list of all players.
 */
(function () {
  'use strict';

  var collator = new Intl.Collator(undefined, { sensitivity: 'base', numeric: true });

  // The figure a cell sorts by: a number for numeric columns ("-" and other
  // text sort below every number), the visible text otherwise.
  function cellKey(cell, numeric) {
    var text = cell ? cell.textContent.trim() : '';
    if (!numeric) return text;
    var value = parseFloat(text);
    return isNaN(value) ? -Infinity : value;
  }

  function sortTable(table, column, heading) {
    var numeric = heading.getAttribute('data-sort') === 'num';
    var current = heading.getAttribute('aria-sort');
    // Numbers start with the biggest, names with A.
    var descending = current ? current === 'ascending' : numeric;
    var body = table.tBodies[0];
    var rows = Array.prototype.slice.call(body.rows).map(function (row, index) {
      return { row: row, index: index, key: cellKey(row.cells[column], numeric) };
    });
    rows.sort(function (a, b) {
      var order = numeric ? (a.key < b.key ? -1 : a.key > b.key ? 1 : 0) : collator.compare(a.key, b.key);
      if (descending) order = -order;
      return order || a.index - b.index;
    });
    var headings = table.tHead.rows[0].cells;
    for (var i = 0; i < headings.length; i++) headings[i].removeAttribute('aria-sort');
    heading.setAttribute('aria-sort', descending ? 'descending' : 'ascending');
    var fragment = document.createDocumentFragment();
    rows.forEach(function (r) { fragment.appendChild(r.row); });
    body.appendChild(fragment);
  }

  // Turns each sortable heading's text into a button.
  function makeSortable(table) {
    if (!table.tHead || !table.tBodies.length) return;
    var headings = table.tHead.rows[0].cells;
    Array.prototype.forEach.call(headings, function (heading, column) {
      if (!heading.hasAttribute('data-sort')) return;
      var button = document.createElement('button');
      button.type = 'button';
      button.className = 'ksSort';
      button.title = 'sort by ' + heading.textContent;
      while (heading.firstChild) button.appendChild(heading.firstChild);
      heading.appendChild(button);
      button.addEventListener('click', function () { sortTable(table, column, heading); });
    });
  }

  // Shows only the leaderboard rows whose name holds the text; returns the
  // rows that match.
  function filterRows(table, text) {
    var wanted = text.trim().toLowerCase();
    var matches = [];
    Array.prototype.forEach.call(table.tBodies[0].rows, function (row) {
      var name = row.querySelector('td.name');
      var hit = !wanted || (name && name.textContent.toLowerCase().indexOf(wanted) >= 0);
      row.hidden = !hit;
      if (hit) matches.push(row);
    });
    return matches;
  }

  function connectFindBox(form, table) {
    var input = form.querySelector('input[name="q"]');
    var count = form.querySelector('.ksFindCount');
    if (!input) return;
    var timer = null;
    var show = function () {
      var matches = filterRows(table, input.value);
      if (count) count.textContent = input.value.trim() ? matches.length + ' found' : '';
      return matches;
    };
    input.addEventListener('input', function () {
      clearTimeout(timer);
      timer = setTimeout(show, 120);
    });
    form.addEventListener('submit', function (event) {
      var matches = show();
      // One player found: open that player's page. Several: they are shown.
      // None here: the list of all players may have the name.
      if (matches.length === 1) {
        event.preventDefault();
        window.location.href = matches[0].querySelector('td.name a').href;
      } else if (matches.length > 1 || form.getAttribute('action') === location.pathname.split('/').pop()) {
        event.preventDefault();
      }
    });
    var query = new URLSearchParams(location.search).get('q');
    if (query) {
      input.value = query;
      show();
    }
  }

  document.addEventListener('DOMContentLoaded', function () {
    Array.prototype.forEach.call(document.querySelectorAll('table[data-sortable]'), makeSortable);
    var form = document.querySelector('form.ksFind');
    var board = document.getElementById('leaderboard');
    if (form && board) connectFindBox(form, board);
  });
})();
