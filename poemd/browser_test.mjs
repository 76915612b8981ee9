// A browser user of miravel-poemd: headless Chromium loads the form, types
// two characters, submits, and the result page must list one line for each,
// the character at the head. Usage: node browser_test.mjs URL SCREENSHOT
import { chromium } from 'playwright-core';

const [url, screenshot] = process.argv.slice(2);
const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
try {
  const page = await browser.newPage();
  await page.goto(url);
  await page.fill('#xing', '春风');
  await page.selectOption('#gender', '5');
  await page.selectOption('#num', 'cangtou');
  await Promise.all([page.waitForNavigation(), page.click('button[type=submit]')]);
  const lines = await page.locator('ul.poem li').allInnerTexts();
  await page.screenshot({ path: screenshot, fullPage: true });
  const ok = lines.length === 2 && lines[0].startsWith('春') && lines[1].startsWith('风') &&
             lines.every((line) => [...line].length === 5);
  console.log(`browser: ${lines.length} lines: ${lines.join(' / ')}`);
  process.exitCode = ok ? 0 : 1;
} finally {
  await browser.close();
}
