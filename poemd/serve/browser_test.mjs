// A browser user of miravel-poemd, in headless Chromium at a desktop's and
// a phone's size: the form, a poem, a swap of one line, the poem's address
// opened anew, diagonal hiding, and each kind of bad input; then the same
// without scripts. Screenshots of the form, a poem and an error at each size
// go to OUT_DIR. Usage: node browser_test.mjs URL OUT_DIR
import { chromium } from 'playwright-core';

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
    await page.screenshot({ path: `${out}/browser-form-${name}.png`, fullPage: true });
    await page.fill('#xing', '春风花月');
    await page.check('input[name=gender][value="5"]');
    await page.check('input[name=num][value=cangtou]');
    await Promise.all([page.waitForNavigation(), page.click('button[type=submit]')]);
    const poem = await texts(page);
    check(`${name}: one line for each character, at the head`,
          poem.length === 4 && poem.every((line, i) => line.startsWith('春风花月'[i]) &&
                                                      [...line].length === 5),
          poem.join(' / '));
    await page.screenshot({ path: `${out}/browser-poem-${name}.png`, fullPage: true });

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

  // Without scripts: the swap is a plain link, and the copy button stays hidden.
  const context = await browser.newContext({ javaScriptEnabled: false });
  const page = await context.newPage();
  await page.goto(`${base}poem?xing=${encodeURIComponent('春风')}&gender=5&num=cangtou&limit=100`);
  const before = await texts(page);
  await Promise.all([page.waitForNavigation(), page.locator('#poem .swap').first().click()]);
  const after = await texts(page);
  check('without scripts: the swap still works', after.length === 2 && after[0] !== before[0] &&
        after[1] === before[1], `${before.join(' / ')} -> ${after.join(' / ')}`);
  check('without scripts: no copy button', await page.locator('#copy').isHidden());
  await context.close();
} finally {
  await browser.close();
}
process.exitCode = failures.length ? 1 : 0;
