// A browser user of miravel-poemd, in headless Chromium at a desktop's and
// a phone's size: the form, a poem, a swap of one line, the poem's address
// opened anew, another subject's poem, diagonal hiding, and each kind of
// bad input; then the same without scripts; then, light and dark, the
// form, a poem, its picture and the poem printed, the link copied, the poem
// with pinyin (copied with it) in both scripts and its pictures, the poem
// in traditional characters, a line's source poem, a missing page, and
// axe-core on the form, the poem, the source poem and the error pages.
// Screenshots go to OUT_DIR.
// Usage: node browser_test.mjs URL OUT_DIR
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { chromium } from 'playwright-core';

const axeSource = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

const [base, out] = process.argv.slice(2);
const sizes = { desktop: { width: 1280, height: 900 }, phone: { width: 390, height: 844 } };
const failures = [];
function check(what, ok, detail = '') {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what} ${detail}`);
  if (!ok) failures.push(what);
}
const texts = (page) => page.locator('#poem .text').allInnerTexts();
// The 0-based position of the hidden character in each line.
const positions = (page) =>
  page.locator('#poem .text').evaluateAll((lines) =>
    lines.map((line) => [...line.childNodes].findIndex((n) => n.nodeName === 'EM') === 0
      ? 0 : [...(line.firstChild.textContent || '')].length));

const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
try {
  for (const [name, viewport] of Object.entries(sizes)) {
    const context = await browser.newContext({ viewport });
    const page = await context.newPage();
    await page.goto(base);
    await page.fill('#xing', '春风花月');
    await page.check('input[name=gender][value="5"]');
    await page.check('input[name=num][value=cangtou]');
    await Promise.all([page.waitForNavigation(), page.click('button[type=submit]')]);
    const poem = await texts(page);
    check(`${name}: one line for each character, at the head`,
          poem.length === 4 && poem.every((line, i) => line.startsWith('春风花月'[i]) &&
                                                      [...line].length === 5),
          poem.join(' / '));

    const address = page.url();
    const again = await context.newPage();
    await again.goto(address);
    check(`${name}: the poem's address brings it back`,
          JSON.stringify(await texts(again)) === JSON.stringify(poem));
    await again.close();

    await Promise.all([page.waitForNavigation(), page.locator('#poem .swap').nth(1).click()]);
    const swapped = await texts(page);
    check(`${name}: a swap changes exactly the line asked for`,
          swapped.length === 4 && swapped[0] === poem[0] && swapped[1] !== poem[1] &&
          swapped[1].startsWith('风') && swapped[2] === poem[2] && swapped[3] === poem[3],
          swapped.join(' / '));

    for (const [mode, expected] of [['dizeng', [0, 1, 2, 3, 4, 0]], ['dijian', [4, 3, 2, 1, 0, 4]]]) {
      await page.goto(`${base}poem?xing=${encodeURIComponent('春风花月春风')}&gender=5&num=${mode}&limit=100`);
      const found = await positions(page);
      check(`${name}: ${mode} puts each character at its position`,
            JSON.stringify(found) === JSON.stringify(expected), JSON.stringify(found));
    }

    // What the poem is about, and another subject's poem a click away (an
    // index of a few poems, as the made-up one, has no subjects).
    if ((await page.locator('.subject .others a').count()) === 0) {
      console.log(`skip ${name}: no subjects offered in this index`);
    } else {
      const about = await page.locator('.subject-words').innerText();
      const other = page.locator('.subject .others a').first();
      const otherWords = await other.innerText();
      await Promise.all([page.waitForNavigation(), other.click()]);
      check(`${name}: another subject's link gives a poem of that subject at an address that keeps it`,
            about !== '' && otherWords !== about && page.url().includes('subject=') &&
            (await page.locator('.subject-words').innerText()) === otherWords,
            `${about} -> ${otherWords}: ${page.url()}`);
      await page.screenshot({ path: `${out}/browser-subject-${name}.png`, fullPage: true });
    }

    const bad = [['abc', '不是汉字'], ['春 风', '空格'], ['春，风', '“，”'], ['春😀', '“😀”'],
                 ['春'.repeat(101), '最多可藏 100 个字']];
    for (const [typed, message] of bad) {
      await page.goto(base);
      await page.fill('#xing', typed);
      await Promise.all([page.waitForNavigation(), page.click('button[type=submit]')]);
      const said = (await page.locator('#error').innerText().catch(() => '')) || '';
      const kept = await page.inputValue('#xing');
      check(`${name}: "${typed.slice(0, 6)}" is refused in Chinese on the form`,
            said.includes(message) && kept === typed, said);
      if (typed === 'abc') {
        await page.screenshot({ path: `${out}/browser-error-${name}.png`, fullPage: true });
      }
    }
    await context.close();
  }

  // Light and dark, at both sizes: what people look at, share and print.
  for (const scheme of ['light', 'dark']) {
    for (const [name, viewport] of Object.entries(sizes)) {
      const shot = (what, page) =>
        page.screenshot({ path: `${out}/browser-${what}-${name}-${scheme}.png`, fullPage: true });
      const context = await browser.newContext({ viewport, colorScheme: scheme });
      await context.grantPermissions(['clipboard-read', 'clipboard-write']);
      const page = await context.newPage();
      const axe = async (what) => {
        await page.addScriptTag({ content: axeSource });
        const found = await page.evaluate(async () =>
          (await window.axe.run(document)).violations.map((v) => `${v.id}: ${v.nodes.length}`));
        check(`${name} ${scheme}: axe-core finds nothing on ${what}`, found.length === 0, found.join(', '));
      };
      await page.goto(base);
      const paper = await page.evaluate(() => getComputedStyle(document.body).backgroundColor);
      check(`${name} ${scheme}: the palette follows the system's`,
            (scheme === 'dark') === (paper === 'rgb(27, 23, 20)'), paper);
      check(`${name} ${scheme}: the form has a top heading`,
            (await page.locator('h1').count()) === 1);
      await axe('the form');
      await shot('form', page);

      // An empty box: the form's own message in Chinese, tied to the box.
      await Promise.all([page.waitForNavigation(), page.click('button[type=submit]')]);
      const said = await page.locator('#error').innerText().catch(() => '');
      check(`${name} ${scheme}: an empty box is refused in Chinese on the form`,
            said.includes('请输入要藏的字') &&
            (await page.getAttribute('#xing', 'aria-invalid')) === 'true' &&
            (await page.getAttribute('#xing', 'aria-describedby')).split(' ').includes('error'), said);
      await axe('the refused form');

      await page.fill('#xing', '春江花月');
      await Promise.all([page.waitForNavigation(), page.click('button[type=submit]')]);
      const lines = await texts(page);
      await axe('a poem');
      await shot('poem', page);

      // The link: absolute, readable, copied with one button, bringing the poem back.
      const link = await page.locator('#share').innerText();
      check(`${name} ${scheme}: the link is absolute and names the characters`,
            link.startsWith(base) && link.includes('/春江花月/'), link);
      await page.click('#copy-link');
      const copied = await page.evaluate(() => navigator.clipboard.readText());
      check(`${name} ${scheme}: the button copies the link`, copied === link, copied);
      const again = await context.newPage();
      await again.goto(copied);
      check(`${name} ${scheme}: the copied link brings the poem back`,
            JSON.stringify(await texts(again)) === JSON.stringify(lines));
      await again.close();
      const og = await page.getAttribute('meta[property="og:image"]', 'content');
      check(`${name} ${scheme}: the preview's picture is the one offered`,
            og === await page.getAttribute('#picture-1', 'href'), og);

      // The picture, and its text: the characters drawn are the page's lines.
      const svg = await (await page.request.get(og.replace(/\.png/, '.svg'))).text();
      const columns = new Map();
      for (const m of svg.matchAll(/<text x="([0-9.]+)" y="([0-9.]+)" font-size="60.0"[^>]*>([^<]+)<\/text>/g)) {
        const column = columns.get(+m[1]) || [];
        column.push([+m[2], m[3]]);
        columns.set(+m[1], column);
      }
      const drawn = [...columns.entries()].sort((a, b) => b[0] - a[0])
        .map(([, column]) => column.sort((a, b) => a[0] - b[0]).map((c) => c[1]).join(''));
      check(`${name} ${scheme}: the picture's text is the poem, right to left`,
            JSON.stringify(drawn) === JSON.stringify(lines), drawn.join(' / '));
      const picture = await context.newPage();
      await picture.goto(og);
      await shot('picture', picture);
      await picture.close();

      // With pinyin: a reading over every character, copied on a line of
      // its own under each line, kept by the script switch; its pictures.
      await Promise.all([page.waitForNavigation(), page.click('#pinyin-switch')]);
      const read = await page.locator('#poem .text').evaluateAll((shown) => shown.map((line) => ({
        characters: [...line.querySelectorAll('ruby')].length,
        readings: [...line.querySelectorAll('rt')].map((r) => r.textContent),
      })));
      check(`${name} ${scheme}: with pinyin, every character has its reading`,
            page.url().includes('pinyin=1') && read.length === lines.length &&
            read.every((line, i) => line.characters === [...lines[i]].length &&
                                    line.readings.every((r) => /^[a-zāáǎàēéěèīíǐìōóǒòūúǔùǖǘǚǜü]+$/.test(r))),
            JSON.stringify(read));
      const selected = await page.evaluate(() => {
        const range = document.createRange();
        range.selectNodeContents(document.querySelector('#poem .text'));
        window.getSelection().removeAllRanges();
        window.getSelection().addRange(range);
        return window.getSelection().toString();
      });
      check(`${name} ${scheme}: with pinyin, selecting a line selects its characters only`,
            selected === lines[0], selected);
      await page.click('#copy');
      const copiedWithPinyin = await page.evaluate(() => navigator.clipboard.readText());
      const expected = lines.map((line, i) => `${line}\n${read[i].readings.join(' ')}`).join('\n') + '\n';
      check(`${name} ${scheme}: with pinyin, the copy has each line's pinyin under it`,
            copiedWithPinyin === expected, copiedWithPinyin);
      await axe('a poem with pinyin');
      await shot('poem-pinyin', page);
      const pinyinPicture = await context.newPage();
      await pinyinPicture.goto(await page.getAttribute('#picture-1', 'href'));
      await shot('picture-pinyin', pinyinPicture);
      await Promise.all([page.waitForNavigation(), page.click('nav.script a[lang="zh-Hant"]')]);
      check(`${name} ${scheme}: the script switch keeps pinyin`,
            page.url().includes('script=traditional&pinyin=1') &&
            (await page.locator('#poem rt').count()) === read.reduce((n, line) => n + line.characters, 0),
            page.url());
      await axe('a poem with pinyin in traditional characters');
      await shot('poem-pinyin-traditional', page);
      await pinyinPicture.goto(await page.getAttribute('#picture-1', 'href'));
      await shot('picture-pinyin-traditional', pinyinPicture);
      await pinyinPicture.close();
      await Promise.all([page.waitForNavigation(), page.click('nav.script a[lang="zh-Hans"]')]);
      await Promise.all([page.waitForNavigation(), page.click('#pinyin-switch')]);
      check(`${name} ${scheme}: the switch hides pinyin again`,
            !page.url().includes('pinyin') && (await page.locator('#poem rt').count()) === 0 &&
            JSON.stringify(await texts(page)) === JSON.stringify(lines), page.url());

      // In the poets' own characters: the switch, the copy of what is
      // shown, the picture; then a line's source poem, whole, and back.
      await Promise.all([page.waitForNavigation(), page.click('nav.script a[lang="zh-Hant"]')]);
      const written = await texts(page);
      check(`${name} ${scheme}: the switch shows the poem in traditional characters`,
            page.url().includes('script=traditional') && written.length === lines.length &&
            written.every((line, i) => [...line].length === [...lines[i]].length),
            written.join(' / '));
      await page.click('#copy');
      const copiedPoem = await page.evaluate(() => navigator.clipboard.readText());
      check(`${name} ${scheme}: the copy button copies the lines shown`,
            copiedPoem === written.join('\n') + '\n', copiedPoem);
      await axe('a poem in traditional characters');
      await shot('poem-traditional', page);
      const writtenPicture = await context.newPage();
      await writtenPicture.goto(await page.getAttribute('#picture-1', 'href'));
      await shot('picture-traditional', writtenPicture);
      await writtenPicture.close();
      const cited = (await page.locator('.sources li a').first().innerText()).split(' —— ')[0];
      await Promise.all([page.waitForNavigation(), page.locator('.sources li a').first().click()]);
      const marked = await page.locator('.source-poem mark').innerText();
      check(`${name} ${scheme}: a source opens its poem whole, the line marked`,
            marked === cited && (await page.locator('h1').count()) === 1 &&
            (await page.locator('main').count()) === 1 &&
            (await page.locator('.source-poem p').count()) >= 1, `${marked} / ${cited}`);
      await axe('a source poem');
      await shot('source-traditional', page);
      await Promise.all([page.waitForNavigation(), page.click('nav.script a[lang="zh-Hans"]')]);
      await axe('a source poem in simplified characters');
      await shot('source', page);
      await Promise.all([page.waitForNavigation(), page.click('text=回到那首诗')]);
      check(`${name} ${scheme}: the source leads back to the poem`,
            JSON.stringify(await texts(page)) === JSON.stringify(written));
      await Promise.all([page.waitForNavigation(), page.click('nav.script a[lang="zh-Hans"]')]);

      // Printed: the poem and its sources, nothing to press.
      await page.emulateMedia({ media: 'print' });
      const shown = await page.evaluate(() =>
        ['header', '.actions', '.share', '.swap', '.metre', '#poem', '.sources'].map((s) => {
          const e = document.querySelector(s);
          return e && getComputedStyle(e).display !== 'none';
        }));
      check(`${name} ${scheme}: printing shows the poem and its sources only`,
            JSON.stringify(shown) === JSON.stringify([false, false, false, false, false, true, true]),
            JSON.stringify(shown));
      await shot('print', page);
      await page.emulateMedia({ media: 'screen' });

      // A missing page: Chinese, in the pages' style, with a heading.
      const lost = await page.goto(`${base}nothing-here`);
      const heading = await page.locator('h1').innerText();
      check(`${name} ${scheme}: a missing page says so in Chinese`,
            lost.status() === 404 && heading === '找不到这一页', heading);
      await axe('the missing page');
      if (name === 'phone') await shot('lost', page);
      const icon = await page.request.get(`${base}favicon.ico`);
      check(`${name} ${scheme}: the favicon is served`,
            icon.status() === 200 && icon.headers()['content-type'] === 'image/x-icon');
      await context.close();
    }
  }

  // Without scripts: the swap is a plain link, and the copy button stays hidden.
  const context = await browser.newContext({ javaScriptEnabled: false });
  const page = await context.newPage();
  await page.goto(`${base}poem?xing=${encodeURIComponent('春风')}&gender=5&num=cangtou&limit=100`);
  const before = await texts(page);
  await Promise.all([page.waitForNavigation(), page.locator('#poem .swap').first().click()]);
  const after = await texts(page);
  check('without scripts: the swap still works', after.length === 2 && after[0] !== before[0] &&
        after[1] === before[1], `${before.join(' / ')} -> ${after.join(' / ')}`);
  check('without scripts: no copy buttons', await page.locator('#copy').isHidden() &&
        await page.locator('#copy-link').isHidden());
  await Promise.all([page.waitForNavigation(), page.click('nav.script a[lang="zh-Hant"]')]);
  await Promise.all([page.waitForNavigation(), page.locator('.sources li a').first().click()]);
  check('without scripts: the script switch and a source link work',
        page.url().includes('/source/') && page.url().includes('script=traditional') &&
        (await page.locator('.source-poem mark').count()) === 1, page.url());
  await context.close();
} finally {
  await browser.close();
}
process.exitCode = failures.length ? 1 : 0;
