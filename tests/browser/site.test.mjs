// Drives a generated site in the system chromium and checks what a reader sees and does.
// Usage: node site.test.mjs SITE-WRITER IMAGES-FOLDER SCRATCH-FOLDER
// The site is served from a tiny localhost server: chromium gives every file:// page an
// origin of its own, which would keep the frames from scripting each other.

import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, rmSync, existsSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { join, normalize, extname } from 'node:path';
import assert from 'node:assert/strict';
import { chromium } from 'playwright-core';

const [siteWriter, imagesFolder, siteFolder] = process.argv.slice(2);
execFileSync(siteWriter, [siteFolder, imagesFolder], { stdio: 'inherit' });

const types = { '.htm': 'text/html', '.gif': 'image/gif', '.png': 'image/png' };
const server = createServer((request, response) => {
  const path = normalize(join(siteFolder, decodeURIComponent(new URL(request.url, 'http://x').pathname)));
  if (!path.startsWith(normalize(siteFolder)) || !existsSync(path)) {
    response.writeHead(404).end();
    return;
  }
  // No charset in the header: the pages must declare their own.
  response.writeHead(200, { 'Content-Type': types[extname(path)] ?? 'application/octet-stream' });
  response.end(readFileSync(path));
});
await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
const base = `http://127.0.0.1:${server.address().port}/`;

const profile = mkdtempSync(join(tmpdir(), 'qv-chromium-'));
// A new empty profile (user data dir) for every run.
const browser = await chromium.launchPersistentContext(profile, {
  executablePath: '/usr/bin/chromium',
  headless: true,
  viewport: { width: 1000, height: 700 },
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});

let failures = 0;
async function check(name, body) {
  try {
    await body();
    console.log(`ok   ${name}`);
  } catch (error) {
    failures++;
    console.log(`FAIL ${name}\n     ${error.message.split('\n').join('\n     ')}`);
  }
}

try {
  const page = await browser.newPage();
  await page.goto(base + 'index.htm');
  const frame = (name) => page.frame({ name });
  const nav = () => frame('ltop');
  const contents = () => frame('contents');
  const left = () => frame('lbottom');
  const contentsFile = () => contents().url().split('/').pop();
  const src = async (name) => (await nav().getAttribute(`img[name="${name}"]`, 'src'));
  const waitForPage = async (file) =>
    page.waitForFunction((f) => window.frames['contents'].location.href.endsWith(f), file);
  await page.waitForFunction(() => window.frames['ltop'] && window.frames['ltop'].gotopage);
  await waitForPage('pg_0001.htm');

  await check('index.htm shows the bar, the page list and the first page', async () => {
    assert.equal(await nav().locator('img[name="FirstPageButton"]').isVisible(), true);
    assert.equal(await left().locator('a', { hasText: 'Page 3' }).count(), 1);
    assert.equal(contentsFile(), 'pg_0001.htm');
    assert.equal(await contents().locator('span', { hasText: 'Heading 1' }).isVisible(), true);
    const image = await contents().$eval('img', (img) => [img.complete, img.naturalWidth]);
    assert.deepEqual(image, [true, 400]);
    assert.equal(await nav().locator('select[name="pageList"] option').count(), 3);
    assert.equal(await nav().locator('select[name="pageList"] option').first().textContent(), 'page 1 of 3');
  });

  await check('the bar images are all there', async () => {
    const broken = await nav().$$eval('img', (imgs) => imgs.filter((i) => !i.complete || i.naturalWidth == 0).map((i) => i.src));
    assert.deepEqual(broken, []);
  });

  await check('first page shows the second looks of first and previous', async () => {
    assert.match(await src('FirstPageButton'), /pg_first2\.gif$/);
    assert.match(await src('BackPageButton'), /pg_back2\.gif$/);
    assert.match(await src('NextPageButton'), /pg_next\.gif$/);
  });

  await check('next, previous, last and first move between pages', async () => {
    await nav().click('img[name="NextPageButton"]');
    await waitForPage('pg_0002.htm');
    assert.match(await src('FirstPageButton'), /pg_first\.gif$/);
    await nav().click('img[name="EndPageButton"]');
    await waitForPage('pg_0003.htm');
    assert.match(await src('NextPageButton'), /pg_next2\.gif$/);
    assert.match(await src('EndPageButton'), /pg_end2\.gif$/);
    await nav().click('img[name="BackPageButton"]');
    await waitForPage('pg_0002.htm');
    await nav().click('img[name="FirstPageButton"]');
    await waitForPage('pg_0001.htm');
  });

  await check('next on the last page changes nothing', async () => {
    await nav().click('img[name="EndPageButton"]');
    await waitForPage('pg_0003.htm');
    await nav().click('img[name="NextPageButton"]');
    await page.waitForTimeout(300);
    assert.equal(contentsFile(), 'pg_0003.htm');
    assert.equal(await nav().evaluate(() => currentPage), 3);
  });

  await check('the page list loads the chosen page and marks it in the index', async () => {
    await nav().selectOption('select[name="pageList"]', '2');
    await waitForPage('pg_0002.htm');
    const marks = await left().$$eval('img', (imgs) => imgs.map((i) => i.src.split('/').pop()));
    assert.deepEqual(marks, ['pg_page.gif', 'pg_page2.gif', 'pg_page.gif']);
  });

  const zoomOf = () => contents().evaluate(() => document.body.style.zoom);
  await check('the zoom list and buttons zoom, and the zoom carries to the next page', async () => {
    await nav().selectOption('select[name="zoomSelected"]', '150');
    assert.equal(await zoomOf(), '1.5');
    await nav().click('img[src$="pg_zoomin.gif"]');
    assert.equal(await zoomOf(), '1.6');
    await nav().click('img[src$="pg_zoomout.gif"]');
    await nav().click('img[src$="pg_zoomout.gif"]');
    assert.equal(await zoomOf(), '1.4');
    assert.equal(await nav().$eval('select[name="zoomSelected"]', (s) => s.value), '140');
    await nav().click('img[name="NextPageButton"]');
    await waitForPage('pg_0003.htm');
    await contents().waitForLoadState('load');
    assert.equal(await zoomOf(), '1.4');
  });

  await check('zooming beyond 200 changes nothing', async () => {
    await nav().selectOption('select[name="zoomSelected"]', '200');
    await nav().click('img[src$="pg_zoomin.gif"]');
    assert.equal(await nav().evaluate(() => currentZoom), 200);
    await nav().selectOption('select[name="zoomSelected"]', '100');
  });

  await check('clicking a page in the page index loads it', async () => {
    await left().click('a:has-text("Page 1")');
    await waitForPage('pg_0001.htm');
  });

  await check('the GoTo link area loads its page', async () => {
    await contents().waitForLoadState('load');
    const box = await contents().locator('img[usemap]').boundingBox();
    await page.mouse.click(box.x + 110, box.y + 115);  // inside the area, beside the text
    await waitForPage('pg_0003.htm');
    assert.equal(await contents().getAttribute('area >> nth=0', 'href'), 'pg_0003.htm');
  });

  await check('the URI area carries its address', async () => {
    assert.equal(await contents().$eval('area >> nth=1', (a) => a.href), 'https://example.com/a?b=1&c=2');
  });

  await check('the hide/show left pane button works', async () => {
    const cols = () => page.evaluate(() => document.getElementsByName('leftpane')[0].cols);
    await nav().click('img[name="LeftPaneButton"]');
    assert.equal(await cols(), '0,*');
    assert.match(await src('LeftPaneButton'), /pg_lpane2\.gif$/);
    await nav().click('img[name="LeftPaneButton"]');
    assert.equal(await cols(), '150,*');
    assert.match(await src('LeftPaneButton'), /pg_lpane1\.gif$/);
  });

  await check('the bookmark tree opens, folds and jumps to pages', async () => {
    await nav().click('img[src$="pg_bmark.gif"]');
    await page.waitForFunction(() => window.frames['lbottom'].location.href.endsWith('pg_bmark.htm'));
    await left().waitForLoadState('load');
    assert.equal(await left().locator('a', { hasText: 'Inside' }).isVisible(), true);
    await left().click('img[src$="pg_bmlastnode.gif"], img[src$="pg_bmnode.gif"]');
    assert.equal(await left().locator('a', { hasText: 'Inside' }).isVisible(), false);
    await left().click('img[src$="pg_bpnode.gif"], img[src$="pg_bplastnode.gif"]');
    await left().click('a:has-text("Inside")');
    await waitForPage('pg_0002.htm');
    const broken = await left().$$eval('img', (imgs) => imgs.filter((i) => i.naturalWidth == 0).map((i) => i.src));
    assert.deepEqual(broken, []);
    await nav().click('img[src$="pg_index.gif"]');
    await page.waitForFunction(() => window.frames['lbottom'].location.href.endsWith('pg_index.htm'));
  });

  await check('page text is read as UTF-8 and the title is set', async () => {
    assert.equal(await page.title(), 'sample');
    assert.equal(await nav().evaluate(() => document.characterSet), 'UTF-8');
  });
} finally {
  await browser.close();
  server.close();
  rmSync(profile, { recursive: true, force: true });
}

console.log(failures == 0 ? 'all browser checks passed' : `${failures} browser check(s) failed`);
process.exit(failures == 0 ? 0 : 1);
