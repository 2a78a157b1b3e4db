// Opens the report pages that kestrostats-c writes in headless Chromium and
// checks what a reader would see: every image and the stylesheet load, no
// script fails, the stylesheet's colours reach the table cells, and the links
// between the main page, the weapon page and the anchors within them work.
// Takes screenshots of the pages on the way.
//
// Environment:
//   KS_BIN_DIR         folder holding kestrostats-c (default: build/bin of
//                      the repository; relative paths start at the current
//                      working directory)
//   KS_CHROMIUM        browser executable (default: /usr/bin/chromium)
//   KS_SCREENSHOT_DIR  when set, the screenshots are copied there
//                      (ctf-main.png, ffa-main.png, weapons.png)
//   KS_KEEP_WORKDIR    when set, the scratch working directory is kept
//
// Run: node --test report-pages.test.mjs

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

const WIDTH = 1280;
const VIEWPORT_HEIGHT = 800;
const SHOT_HEIGHT = 1600;       // screenshots keep the top of the page only
const SHOT_MAX_BYTES = 400 * 1024;

let work;                       // scratch working directory
let htmlDir;                    // its html/ folder
let browser;
const reports = {};             // { ctf: {main, wpn}, ffa: {main, wpn} }: file names in html/
let css;                        // background colours the stylesheet sets

// ---- set-up ----------------------------------------------------------------

// Runs kestrostats-c on one sample log in the working directory and returns
// the main and weapon pages it added to html/.
function runReport(sample) {
  const before = new Set(fs.readdirSync(htmlDir));
  fs.copyFileSync(path.join(root, 'samples', sample), path.join(work, sample));
  execFileSync(path.join(binDir, 'kestrostats-c'), [sample], { cwd: work, stdio: 'pipe' });
  const added = fs.readdirSync(htmlDir).filter((f) => !before.has(f));
  const main = added.filter((f) => f.endsWith('_main.html'));
  const wpn = added.filter((f) => f.endsWith('_wpn.html'));
  assert.equal(main.length, 1, `${sample}: expected one main page, got ${JSON.stringify(added)}`);
  assert.equal(wpn.length, 1, `${sample}: expected one weapon page, got ${JSON.stringify(added)}`);
  return { main: main[0], wpn: wpn[0] };
}

// "#1a1f28" -> "rgb(26, 31, 40)", the form getComputedStyle reports.
function hexToRgb(hex) {
  const v = hex.replace('#', '');
  const full = v.length === 3 ? [...v].map((c) => c + c).join('') : v;
  const n = [0, 2, 4].map((i) => parseInt(full.slice(i, i + 2), 16));
  return `rgb(${n.join(', ')})`;
}

// Background colours of body and the team/neutral cell classes, read from
// the stylesheet the pages use, so a change of theme does not break the test.
function readStylesheetColours(file) {
  const text = fs.readFileSync(file, 'utf8').replace(/\/\*[\s\S]*?\*\//g, '');
  const colours = {};
  for (const sel of ['body', '.red', '.blue', '.neutral']) {
    const esc = sel.replace('.', '\\.');
    const m = text.match(new RegExp(`(^|\\})\\s*${esc}\\s*\\{([^}]*)\\}`, 'm'));
    assert.ok(m, `stylesheet has no rule for ${sel}`);
    const bg = m[2].match(/background-color\s*:\s*(#[0-9a-fA-F]{3,6})/);
    assert.ok(bg, `stylesheet rule ${sel} sets no background-color`);
    colours[sel] = hexToRgb(bg[1]);
  }
  return colours;
}

before(async () => {
  assert.ok(fs.existsSync(path.join(binDir, 'kestrostats-c')),
    `no kestrostats-c in ${binDir} (set KS_BIN_DIR)`);
  assert.ok(fs.existsSync(browserPath), `no browser at ${browserPath} (set KS_CHROMIUM)`);

  // The layout of scripts/demo.sh: configuration, header and footer beside
  // the log; the stylesheet and images inside html/ next to the pages.
  work = fs.mkdtempSync(path.join(os.tmpdir(), 'ks-browser-'));
  htmlDir = path.join(work, 'html');
  fs.mkdirSync(htmlDir);
  for (const f of ['c-default.cfg', 'c-header.html', 'c-footer.html']) {
    fs.copyFileSync(path.join(root, 'site', f), path.join(work, f));
  }
  fs.cpSync(path.join(root, 'site', 'html'), htmlDir, { recursive: true });
  css = readStylesheetColours(path.join(htmlDir, 'c-kestro.css'));

  reports.ctf = runReport('ctf-osp.log');
  reports.ffa = runReport('ffa-chat.log');

  browser = await chromium.launch({
    executablePath: browserPath,
    headless: true,
    chromiumSandbox: false,          // adds --no-sandbox: Chromium refuses root otherwise
    args: ['--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
});

after(async () => {
  if (browser) await browser.close();
  if (work && !process.env.KS_KEEP_WORKDIR) fs.rmSync(work, { recursive: true, force: true });
  else if (work) console.log(`# working directory kept: ${work}`);
});

// ---- helpers ---------------------------------------------------------------

const fileUrl = (name) => pathToFileURL(path.join(htmlDir, name)).href;
const relName = (url) => path.relative(htmlDir, fileURLToPath(url.split('#')[0]));

// A new tab that records every failed request, script error and console error.
async function newTab() {
  const page = await browser.newPage({ viewport: { width: WIDTH, height: VIEWPORT_HEIGHT } });
  const log = { failed: [], errors: [] };
  page.on('requestfailed', (r) => log.failed.push({ url: r.url(), why: r.failure()?.errorText }));
  page.on('response', (r) => { if (r.status() >= 400) log.failed.push({ url: r.url(), why: `status ${r.status()}` }); });
  page.on('pageerror', (e) => log.errors.push({ text: `page error: ${e.message}` }));
  page.on('console', (m) => {
    if (m.type() !== 'error') return;
    const url = m.location()?.url || '';
    const where = url.startsWith('file:') ? ` (${relName(url)})` : '';
    log.errors.push({ text: `console error: ${m.text()}${where}`, url });
  });
  return { page, log };
}

// Waits until the page has loaded and every <img> has finished (including a
// picture swapped in by an onError handler after the load event). Returns
// false when that does not happen within a few seconds: a picture that never
// stops failing, for one, keeps the page from finishing.
async function settle(page) {
  try {
    await page.waitForLoadState('load', { timeout: 10000 });
    await page.waitForFunction(() => [...document.images].every((i) => i.complete), null, { timeout: 10000 });
    await page.waitForLoadState('networkidle', { timeout: 10000 });
    return true;
  } catch (e) {
    if (e.name !== 'TimeoutError') throw e;
    return false;
  }
}

// Opens a report page and returns a list of problems (empty when the page is
// fine): failed requests other than the map picture's expected fall-back,
// script and console errors, images that did not decode, and stylesheet
// colours missing from body and from each kind of team/neutral cell present.
// `cellClasses` names the cell classes the page must contain; `hasMap` says
// whether it shows the map picture (the main pages do).
async function openAndInspect(name, cellClasses, hasMap) {
  const { page, log } = await newTab();
  await page.goto(fileUrl(name), { waitUntil: 'domcontentloaded' });
  const problems = [];
  if (!(await settle(page))) problems.push('the page did not finish loading within 10 s');

  // The map picture: images/maps/<map>.jpg often does not exist; the page's
  // onError script then shows images/maps/default.gif. Only that one failure
  // is allowed, and only when the file really is absent.
  const map = await page.evaluate(() => {
    const img = document.images.namedItem('MAP');
    return img ? { current: img.currentSrc || img.src, width: img.naturalWidth } : null;
  });
  let allowedUrl = null;
  if (map) {
    // The script has replaced the src attribute by now: take the original
    // address from the page's source.
    const tag = fs.readFileSync(path.join(htmlDir, name), 'latin1')
      .match(/<img\b[^>]*\bname\s*=\s*["']?MAP\b[^>]*>/i);
    const src = tag && tag[0].match(/\bsrc\s*=\s*["']?([^"'\s>]+)/i);
    if (!src) {
      problems.push('the map picture\'s address was not found in the page source');
    } else if (!fs.existsSync(path.join(htmlDir, src[1]))) {
      allowedUrl = pathToFileURL(path.join(htmlDir, src[1])).href;
      if (!log.failed.some((f) => f.url === allowedUrl)) {
        problems.push(`map picture ${src[1]} is absent but no failed request for it was seen`);
      }
      if (!map.current.endsWith('/images/maps/default.gif')) {
        problems.push(`map picture ${src[1]} missing and not replaced by images/maps/default.gif (shows ${map.current})`);
      } else if (map.width === 0) {
        problems.push('the default map picture images/maps/default.gif did not load');
      }
    }
  } else if (hasMap) {
    problems.push('the page has no map picture (img name=MAP)');
  }
  for (const f of log.failed) {
    if (f.url !== allowedUrl) problems.push(`failed request: ${relName(f.url)} (${f.why})`);
  }
  for (const e of log.errors) {
    // Chromium reports the expected failed map picture as a console error too.
    if (allowedUrl && e.url === allowedUrl) continue;
    problems.push(e.text);
  }

  const state = await page.evaluate((classes) => {
    const broken = [...document.images]
      .filter((i) => !i.complete || i.naturalWidth === 0)
      .map((i) => i.getAttribute('src'));
    const cells = {};
    for (const c of classes) {
      const td = [...document.querySelectorAll('td')].find((t) => t.className.toLowerCase() === c);
      cells[c] = td ? getComputedStyle(td).backgroundColor : null;
    }
    const sheet = [...document.styleSheets].some((s) => (s.href || '').endsWith('/c-kestro.css'));
    return { images: document.images.length, broken, cells, sheet,
      body: getComputedStyle(document.body).backgroundColor };
  }, cellClasses);

  if (state.images === 0) problems.push('the page shows no images at all');
  for (const src of state.broken) problems.push(`image did not load: ${src}`);
  if (!state.sheet) problems.push('c-kestro.css is not among the page\'s stylesheets');
  if (state.body !== css.body) problems.push(`body background is ${state.body}, the stylesheet says ${css.body}`);
  for (const c of cellClasses) {
    const got = state.cells[c];
    if (got === null) problems.push(`no td.${c} cell on the page`);
    else if (got !== css[`.${c}`]) problems.push(`td.${c} background is ${got}, the stylesheet says ${css[`.${c}`]}`);
  }
  // An image used several times fails several times: name each fault once.
  return { page, problems: [...new Set(problems)] };
}

// Named anchors (a name=, id=) of the page, and its links that carry a
// #fragment, as { target: file name in html/, fragment: decoded text }.
async function anchorsAndFragmentLinks(page) {
  return page.evaluate(() => {
    const names = [...document.querySelectorAll('a[name], [id]')].map((e) => e.getAttribute('name') || e.id);
    const links = [...document.querySelectorAll('a[href*="#"]')].map((a) => ({
      url: a.href.split('#')[0],
      fragment: decodeURIComponent(a.hash.slice(1)),
    }));
    return { names, links };
  });
}

async function saveScreenshot(page, file) {
  const height = Math.min(SHOT_HEIGHT, await page.evaluate(() => document.documentElement.scrollHeight));
  const out = path.join(work, file);
  await page.evaluate(() => window.scrollTo(0, 0));
  await page.screenshot({ path: out, fullPage: true, clip: { x: 0, y: 0, width: WIDTH, height } });
  const size = fs.statSync(out).size;
  assert.ok(size > 10 * 1024, `${file} is only ${size} bytes: a blank page?`);
  assert.ok(size < SHOT_MAX_BYTES, `${file} is ${size} bytes, more than ${SHOT_MAX_BYTES}`);
  if (shotDir) {
    fs.mkdirSync(shotDir, { recursive: true });
    fs.copyFileSync(out, path.join(shotDir, file));
  }
}

// ---- tests -----------------------------------------------------------------

test('CTF main page: every image and the stylesheet load, team colours applied', async () => {
  const { page, problems } = await openAndInspect(reports.ctf.main, ['red', 'blue', 'neutral'], true);
  assert.deepEqual(problems, []);
  await saveScreenshot(page, 'ctf-main.png');
  await page.close();
});

test('free-for-all main page: every image and the stylesheet load', async () => {
  const { page, problems } = await openAndInspect(reports.ffa.main, ['neutral'], true);
  assert.deepEqual(problems, []);
  await saveScreenshot(page, 'ffa-main.png');
  await page.close();
});

test('weapon pages: every image and the stylesheet load, team colours applied', async () => {
  const ctf = await openAndInspect(reports.ctf.wpn, ['red', 'blue', 'neutral'], false);
  assert.deepEqual(ctf.problems, [], 'CTF weapon page');
  await saveScreenshot(ctf.page, 'weapons.png');
  await ctf.page.close();
  const ffa = await openAndInspect(reports.ffa.wpn, ['neutral'], false);
  assert.deepEqual(ffa.problems, [], 'free-for-all weapon page');
  await ffa.page.close();
});

test('main and weapon pages link to each other', async () => {
  // Clicks the link with the given text and returns the page it lands on.
  const follow = async (page, text, expected) => {
    await Promise.all([
      page.waitForURL((u) => u.protocol === 'file:' && relName(u.href) === expected,
        { waitUntil: 'domcontentloaded', timeout: 10000 }).catch(() => {}),
      page.getByRole('link', { name: text, exact: true }).first().click(),
    ]);
    return page.url().startsWith('file:') ? relName(page.url()) : page.url();
  };
  for (const kind of ['ctf', 'ffa']) {
    const { main, wpn } = reports[kind];
    const { page } = await newTab();
    await page.goto(fileUrl(main), { waitUntil: 'domcontentloaded' });
    assert.equal(await follow(page, 'view weapon stats', wpn), wpn, `${kind}: "view weapon stats" leads elsewhere`);
    assert.equal(await follow(page, 'back to main stats', main), main, `${kind}: "back to main stats" leads elsewhere`);
    await page.close();
  }
});

test('a player name on the CTF main page jumps to the player\'s stat card', async () => {
  const { page } = await newTab();
  await page.goto(fileUrl(reports.ctf.main), { waitUntil: 'domcontentloaded' });
  // Images change the page's layout, so the jump is checked once they are in.
  await settle(page);
  const link = page.locator('a[href^="#stat-"]').first();
  const href = await link.getAttribute('href');
  assert.ok(href, 'no player link to a "stat-" card');
  const target = href.slice(1);
  await link.click();
  await page.waitForFunction(() => window.scrollY > 0, null, { timeout: 5000 });
  const where = await page.evaluate((name) => {
    const el = document.getElementsByName(name)[0];
    if (!el) return null;
    const card = el.closest('td') || el;
    return {
      hash: decodeURIComponent(location.hash.slice(1)),
      top: card.getBoundingClientRect().top,
      atBottom: window.scrollY + window.innerHeight >= document.documentElement.scrollHeight - 1,
    };
  }, target);
  assert.ok(where, `no anchor named ${target}`);
  assert.equal(where.hash, target);
  // The card's row is at the top of the window, unless the page ends first.
  assert.ok(where.atBottom ? where.top >= 0 && where.top < VIEWPORT_HEIGHT : Math.abs(where.top) < 40,
    `the ${target} card is at ${where.top}px, not at the top of the window`);
  await page.close();
});

test('every #fragment link between the pages reaches a named anchor', async () => {
  const pages = [reports.ctf.main, reports.ctf.wpn, reports.ffa.main, reports.ffa.wpn, 'about.html'];
  const names = {};
  const links = [];
  const { page } = await newTab();
  for (const p of pages) {
    await page.goto(fileUrl(p), { waitUntil: 'domcontentloaded' });
    const found = await anchorsAndFragmentLinks(page);
    names[p] = new Set(found.names);
    for (const l of found.links) links.push({ from: p, target: relName(l.url), fragment: l.fragment });
  }
  await page.close();
  assert.ok(links.length > 0, 'no fragment links found');
  const dangling = links
    .filter((l) => !(names[l.target] && names[l.target].has(l.fragment)))
    .map((l) => `${l.from}: ${l.target}#${l.fragment}`);
  assert.deepEqual([...new Set(dangling)], []);
});
