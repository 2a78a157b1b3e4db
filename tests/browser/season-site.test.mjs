// Opens the season site that kestrostats-site writes in headless Chromium:
// the index loads with every asset and no script error, sorting a column
// reorders the rows, the find box filters them, a player link opens that
// player's page with its chart drawn, and a player named with hostile
// characters shows as text. Takes screenshots of the index and a player page.
//
// It makes a season of its own: a throwaway MariaDB server
// (scripts/throwaway-db.sh), kestrostats-s over the sample logs, and one
// player inserted straight into the database under a hostile name.
//
// Environment: KS_BIN_DIR, KS_CHROMIUM, KS_SCREENSHOT_DIR (season-index.png,
// season-player.png), KS_KEEP_WORKDIR, as for report-pages.test.mjs.
//
// Run: node --test season-site.test.mjs

import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

const here = path.dirname(fileURLToPath(import.meta.url));
const root = path.resolve(here, '..', '..');
const binDir = path.resolve(process.env.KS_BIN_DIR || path.join(root, 'build', 'bin'));
const browserPath = process.env.KS_CHROMIUM || '/usr/bin/chromium';
const shotDir = process.env.KS_SCREENSHOT_DIR ? path.resolve(process.env.KS_SCREENSHOT_DIR) : '';
const PROGRAMS = ['kestrostats-s', 'kestrostats-c', 'ks-preparse', 'TagSift', 'kestrostats-site'];
const WIDTH = 1280;
const SHOT_HEIGHT = 1500;

// A name with every character that could break out of text or an attribute,
// script that would mark the page if it ran, and colour codes.
// (The raw name column holds 50 bytes.)
const HOSTILE = '^1"\'&<svg onload=__p=2><script>__p=1</script>^7`\\';
const HOSTILE_TEXT = HOSTILE.replace(/\^[0-9]/g, '');
const HOSTILE_MAP = '../<svg onload=__p=3>/x';
const PHONE = 400;

function missingPiece() {
  for (const p of PROGRAMS) {
    if (!fs.existsSync(path.join(binDir, p))) return `no ${p} in ${binDir}`;
  }
  for (const p of ['mariadbd', 'mysql']) {
    try { execFileSync('sh', ['-c', `command -v ${p}`], { stdio: 'ignore' }); } catch { return `no ${p}: install mariadb-server and mariadb-client`; }
  }
  return false;
}
const skip = missingPiece();

let work;
let dbDir;
let port;
let browser;
let htmlDir;

const hex = (text) => Buffer.from(text, 'utf8').toString('hex');
function mysql(sql) {
  return execFileSync('mysql', ['-h', '127.0.0.1', '-P', port, '-u', 'root', '-N', '-B', '-e', sql], { encoding: 'utf8' });
}

before(async () => {
  if (skip) return;
  work = fs.mkdtempSync(path.join(os.tmpdir(), 'ks-season-site-'));
  dbDir = path.join(work, 'db');
  port = execFileSync('sh', [path.join(root, 'scripts', 'throwaway-db.sh'), 'start', dbDir], { encoding: 'utf8' }).trim().split('\n').pop();
  const env = { ...process.env, MYSQL_TCP_PORT: port };
  const season = path.join(work, 'season');
  htmlDir = path.join(season, 'html');
  fs.mkdirSync(season);
  fs.cpSync(path.join(root, 'site', 'html'), htmlDir, { recursive: true });
  for (const p of PROGRAMS) fs.copyFileSync(path.join(binDir, p), path.join(season, p));
  for (const f of ['c-default.cfg', 'c-header.html', 'c-footer.html']) fs.copyFileSync(path.join(root, 'site', f), path.join(season, f));
  for (const f of ['ffa-chat.log', 'ctf-osp.log']) fs.copyFileSync(path.join(root, 'samples', f), path.join(season, f));
  fs.writeFileSync(path.join(season, 'tags_add.txt'), '|X|\n[NX]\n');
  fs.writeFileSync(path.join(season, 's-default.cfg'), 'db_host:\n127.0.0.1\ndb_name:\nbrowser_season\ndb_user:\nroot\n'
    + 'no_of_game_stats:\n5\ndetect_clan_tag:\nyes\nprocess_clan_tag_add:\nyes\nmake_season_site:\nno\nsite_min_games:\n1\n');
  execFileSync('./kestrostats-s', ['ffa-chat.log', 'ctf-osp.log'], { cwd: season, env, stdio: 'pipe' });
  // The hostile player: in the leaderboard's middle, most kills, weapons for its chart.
  mysql(`use browser_season; insert into playerstats set raw_name=X'${hex(HOSTILE)}', name=X'${hex(HOSTILE_TEXT)}', `
    + `quote=X'${hex(HOSTILE)}', model='sarge', games=9, frags=40, kills=44, deaths=10, skill=6.5, `
    + 'kills_RL=30, kills_RG=14, accuracy_RL_hits=60, accuracy_RL_attempts=150, accuracy_RG_hits=14, accuracy_RG_attempts=40, '
    + 'accuracy_total_hits=74, accuracy_total_attempts=190;');
  // Game records as the season writes them, in place of the sample logs'
  // own: three games of the hostile player and a player of the sample logs,
  // on a map with a hostile name.
  mysql('use browser_season; delete from head_to_head; delete from game_kills; delete from game_players; delete from games;');
  const other = mysql("use browser_season; select hex(raw_name) from playerstats where raw_name not like '%<%' limit 1;").trim();
  for (const id of [1, 2, 3]) {
    const map = id === 2 ? hex(HOSTILE_MAP) : hex('q3dm17');
    mysql(`use browser_season; insert into games set id=${id}, fingerprint=repeat('${id}', 64), log='a.log', `
      + `played=${id === 3 ? 'null' : `'2024-06-0${id} 20:00:00'`}, counted='2024-06-05 10:00:00', `
      + `listed='2024-06-0${id === 3 ? 5 : id} 20:00:00', map=X'${map}', type='ffa', duration=600, players=2, winner=X'${hex(HOSTILE)}';`
      + `insert into game_players set game_id=${id}, slot=0, raw_name=X'${hex(HOSTILE)}', name='h', result='won', place=1, frags=9, kills=9, deaths=2;`
      + `insert into game_players set game_id=${id}, slot=1, raw_name=X'${other}', name='o', result='lost', place=2, frags=2, kills=2, deaths=9;`
      + `insert into game_kills values (${id}, X'${hex(HOSTILE)}', X'${other}', 9), (${id}, X'${other}', X'${hex(HOSTILE)}', 2);`);
  }
  mysql('use browser_season; insert into head_to_head select killer, victim, sum(kills) from game_kills group by killer, victim;');
  execFileSync('./kestrostats-site', [], { cwd: season, env, stdio: 'pipe' });

  browser = await chromium.launch({
    executablePath: browserPath,
    headless: true,
    chromiumSandbox: false,
    args: ['--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync'],
  });
});

after(async () => {
  if (browser) await browser.close();
  if (dbDir) execFileSync('sh', [path.join(root, 'scripts', 'throwaway-db.sh'), 'stop', dbDir], { stdio: 'ignore' });
  if (work && !process.env.KS_KEEP_WORKDIR) fs.rmSync(work, { recursive: true, force: true });
  else if (work) console.log(`# working directory kept: ${work}`);
});

const url = (name) => pathToFileURL(path.join(htmlDir, 'season', name)).href;

// A tab that records failed requests, script errors and console errors.
async function openPage(name) {
  const page = await browser.newPage({ viewport: { width: WIDTH, height: 800 } });
  const problems = [];
  page.on('requestfailed', (r) => problems.push(`failed request: ${r.url()} (${r.failure()?.errorText})`));
  page.on('pageerror', (e) => problems.push(`page error: ${e.message}`));
  page.on('console', (m) => { if (m.type() === 'error') problems.push(`console error: ${m.text()}`); });
  page.on('dialog', (d) => { problems.push(`a dialog opened: ${d.message()}`); d.dismiss(); });
  await page.goto(url(name), { waitUntil: 'load' });
  await page.waitForFunction(() => [...document.images].every((i) => i.complete), null, { timeout: 10000 });
  return { page, problems };
}

// The text of one column of the leaderboard's visible rows.
async function column(page, heading) {
  return page.evaluate((h) => {
    const table = document.getElementById('leaderboard');
    const index = [...table.tHead.rows[0].cells].findIndex((c) => c.textContent.trim() === h);
    return [...table.tBodies[0].rows].filter((r) => !r.hidden).map((r) => r.cells[index].textContent.trim());
  }, heading);
}

async function screenshot(page, file) {
  if (!shotDir) return;
  const height = Math.min(SHOT_HEIGHT, await page.evaluate(() => document.documentElement.scrollHeight));
  fs.mkdirSync(shotDir, { recursive: true });
  await page.screenshot({ path: path.join(shotDir, file), clip: { x: 0, y: 0, width: WIDTH, height }, fullPage: true });
}

test('the index loads with every asset, its styles and no script error', { skip }, async () => {
  const { page, problems } = await openPage('index.html');
  const state = await page.evaluate(() => ({
    broken: [...document.images].filter((i) => i.naturalWidth === 0).map((i) => i.getAttribute('src')),
    images: document.images.length,
    sheets: [...document.styleSheets].map((s) => (s.href || '').split('/').pop()),
    body: getComputedStyle(document.body).backgroundColor,
    rows: document.querySelectorAll('#leaderboard tbody tr').length,
    sortButtons: document.querySelectorAll('#leaderboard th button.ksSort').length,
    games: document.querySelectorAll('ul.ksGames li').length,
  }));
  assert.deepEqual(problems, []);
  assert.deepEqual(state.broken, []);
  assert.ok(state.images > 5, `only ${state.images} images`);
  assert.ok(state.sheets.includes('c-kestro.css') && state.sheets.includes('season.css'), state.sheets.join());
  assert.equal(state.body, 'rgb(11, 14, 19)');
  assert.ok(state.rows >= 3, `${state.rows} leaderboard rows`);
  assert.equal(state.sortButtons, 16, 'the script made every heading a sort button');
  assert.ok(state.games >= 1, 'no game pages listed');
  await screenshot(page, 'season-index.png');
  await page.close();
});

test('a column heading sorts the leaderboard both ways', { skip }, async () => {
  const { page, problems } = await openPage('index.html');
  const asNumbers = (cells) => cells.map(Number);
  const before = await column(page, 'kills');
  await page.locator('#leaderboard th button', { hasText: /^kills$/ }).click();
  const down = asNumbers(await column(page, 'kills'));
  assert.deepEqual(down, [...down].sort((a, b) => b - a));
  assert.notDeepEqual(down, asNumbers(before), 'skill order already was kills order: the sample proves nothing');
  await page.locator('#leaderboard th button', { hasText: /^kills$/ }).click();
  const up = asNumbers(await column(page, 'kills'));
  assert.deepEqual(up, [...up].sort((a, b) => a - b));
  await page.locator('#leaderboard th button', { hasText: /^name$/ }).click();
  const names = await column(page, 'name');
  assert.deepEqual(names, [...names].sort((a, b) => a.localeCompare(b, undefined, { sensitivity: 'base', numeric: true })));
  assert.deepEqual(problems, []);
  await page.close();
});

test('the find box filters the leaderboard', { skip }, async () => {
  const { page, problems } = await openPage('index.html');
  const all = await column(page, 'name');
  const target = all.find((n) => !n.includes('<'));
  await page.fill('#ksFindName', target.slice(0, 4));
  await page.waitForFunction(() => document.querySelector('.ksFindCount').textContent !== '');
  const shown = await column(page, 'name');
  assert.ok(shown.length >= 1 && shown.length < all.length, `${shown.length} of ${all.length} shown`);
  assert.ok(shown.every((n) => n.toLowerCase().includes(target.slice(0, 4).toLowerCase())));
  assert.deepEqual(problems, []);
  await page.close();
});

test('a player link opens the player page with its chart drawn', { skip }, async () => {
  const { page, problems } = await openPage('index.html');
  const link = page.locator('#leaderboard tbody tr td.name a').first();
  const href = await link.getAttribute('href');
  await Promise.all([page.waitForURL((u) => u.href.endsWith(href)), link.click()]);
  await page.waitForLoadState('load');
  const chart = await page.evaluate(() => {
    const svg = document.querySelector('svg.ksChart');
    if (!svg) return null;
    const box = svg.getBoundingClientRect();
    const bars = [...svg.querySelectorAll('rect')].filter((r) => r.getBoundingClientRect().width > 1);
    return { width: box.width, height: box.height, bars: bars.length, labels: svg.querySelectorAll('text').length };
  });
  assert.ok(chart, 'no chart on the player page');
  assert.ok(chart.width > 300 && chart.height > 40, `chart is ${chart.width}x${chart.height}`);
  assert.ok(chart.bars >= 4, `${chart.bars} bars drawn`);
  const images = await page.evaluate(() => [...document.images].filter((i) => i.naturalWidth === 0).map((i) => i.src));
  assert.deepEqual(images, []);
  assert.deepEqual(problems, []);
  await screenshot(page, 'season-player.png');
  await page.getByRole('link', { name: /back to the season/ }).first().click();
  await page.waitForURL((u) => u.href.endsWith('/season/index.html'));
  await page.close();
});

test('a player with a hostile name shows as text everywhere', { skip }, async () => {
  for (const name of ['index.html', 'all.html', `players/p${hex(HOSTILE)}.html`]) {
    const { page, problems } = await openPage(name);
    const state = await page.evaluate(() => ({
      pwned: window.__p,
      scripts: document.scripts.length,
      strayElements: document.querySelectorAll('svg:not(.ksChart)').length,
      texts: [...document.querySelectorAll('a, h1, q')].map((e) => e.textContent),
    }));
    assert.equal(state.pwned, undefined, `${name}: the name's script ran`);
    assert.equal(state.scripts, 1, `${name}: only the page's own script`);
    assert.equal(state.strayElements, 0, `${name}: the name made an element`);
    assert.ok(state.texts.includes(HOSTILE_TEXT), `${name}: the name is not shown as text`);
    assert.deepEqual(problems, [], name);
    await page.close();
  }
});

// The pages of the game records at a phone's width: nothing wider than the
// screen (wide tables scroll in their own box), no script error, and every
// link to a page of the site leads to a file that is there.
test('the game pages read at phone width and their links work', { skip }, async () => {
  const pages = ['index.html', 'games.html', 'maps.html', 'games/1.html', 'games/2.html',
    `maps/m${hex(HOSTILE_MAP)}.html`, `players/p${hex(HOSTILE)}.html`];
  for (const name of pages) {
    const page = await browser.newPage({ viewport: { width: PHONE, height: 800 } });
    const problems = [];
    page.on('pageerror', (e) => problems.push(`page error: ${e.message}`));
    page.on('console', (m) => { if (m.type() === 'error') problems.push(`console error: ${m.text()}`); });
    page.on('requestfailed', (r) => problems.push(`failed request: ${r.url()}`));
    await page.goto(url(name), { waitUntil: 'load' });
    const state = await page.evaluate(() => ({
      pwned: window.__p,
      width: document.documentElement.scrollWidth,
      links: [...document.querySelectorAll('a[href]')].map((a) => a.href).filter((h) => h.startsWith('file:')),
    }));
    assert.deepEqual(problems, [], name);
    assert.equal(state.pwned, undefined, `${name}: a name's script ran`);
    assert.ok(state.width <= PHONE + 1, `${name} is ${state.width} px wide at ${PHONE} px`);
    for (const link of state.links) {
      const file = fileURLToPath(link.split('#')[0].split('?')[0]);
      assert.ok(fs.existsSync(file), `${name} links to a missing ${file}`);
    }
    if (name === `players/p${hex(HOSTILE)}.html`) {
      const bars = await page.evaluate(() => document.querySelectorAll('svg.ksForm rect').length);
      assert.equal(bars, 3, 'a bar per recorded game in the form chart');
    }
    await page.close();
  }
});
