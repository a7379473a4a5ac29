"""The sandbox console in a real browser: headless Chromium opens the URL a
running game printed, sees the game's purchase window and its transaction,
closes the window with a click, and the game's callbacks report the
purchase's success and the window's close. Then the same game runs in
interactive mode (a profile that says so): the browser sees the waiting
purchase window with its order, clicks Pay, and the game hears the purchase
succeed and its window close. Screenshots of these moments are written to
the output folder (the guide's images) and checked non-blank.

    /usr/bin/python3 browser_test.py <console_game> <output folder>
"""
import os
import re
import subprocess
import sys
import tempfile
import time
import zlib

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support import expected_conditions as ready
from selenium.webdriver.support.ui import WebDriverWait


def distinct_rows(png):
    """How many distinct pixel rows a PNG has (decoded with zlib alone): a
    blank or single-colour page has one or two."""
    data = bytearray()
    width = height = None
    position = 8
    while position < len(png):
        length = int.from_bytes(png[position:position + 4], "big")
        kind = png[position + 4:position + 8]
        body = png[position + 8:position + 8 + length]
        if kind == b"IHDR":
            width = int.from_bytes(body[0:4], "big")
            height = int.from_bytes(body[4:8], "big")
        elif kind == b"IDAT":
            data += body
        position += 12 + length
    raw = zlib.decompress(bytes(data))
    stride = len(raw) // height
    return len({raw[row * stride + 1:(row + 1) * stride] for row in range(height)}), width, height


def play(game, environment, drive):
    """Runs the game with its console on, drives the page it printed with
    drive(browser, wait) and returns what the game printed."""
    errors = tempfile.TemporaryFile()
    environment = dict(os.environ, TESSEL_SANDBOX_CONSOLE="0", **environment)
    process = subprocess.Popen([game], stdout=subprocess.PIPE, stderr=errors, env=environment, text=True)
    try:
        url = None
        for _ in range(100):
            errors.seek(0)
            found = re.search(rb"Tessel sandbox console: (\S+)", errors.read())
            if found:
                url = found.group(1).decode()
                break
            time.sleep(0.1)
        assert url, "the game printed no console line"

        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=1280,900"):
            options.add_argument(argument)
        browser = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        try:
            browser.get(url)
            drive(browser, WebDriverWait(browser, 20))
        finally:
            browser.quit()
        out, _ = process.communicate(timeout=20)
        print(out)
        assert "purchase answered: code 0" in out, "the purchase did not succeed"
        assert "purchase window closed" in out, "the game did not hear the window close"
        assert process.returncode == 0
        return out
    finally:
        if process.poll() is None:
            process.kill()


def main():
    game, output = sys.argv[1], sys.argv[2]
    os.makedirs(output, exist_ok=True)
    shots = [os.path.join(output, name) for name in
             ("console-purchase-window.png", "console-after-close.png", "console-interactive-purchase.png")]

    def close_window(browser, wait):
        window = wait.until(ready.presence_of_element_located((By.CSS_SELECTOR, "#windows .window[data-kind=purchase]")))
        wait.until(lambda b: "Refund" in b.find_element(By.ID, "transactions").text)
        wait.until(lambda b: "Tessel_StartPurchase" in b.find_element(By.ID, "requests").text)
        browser.save_screenshot(shots[0])
        window.find_element(By.TAG_NAME, "button").click()
        wait.until(lambda b: b.find_element(By.ID, "windows").text.strip() == "none")
        browser.save_screenshot(shots[1])

    play(game, {}, close_window)

    def pay(browser, wait):
        window = wait.until(ready.presence_of_element_located((By.CSS_SELECTOR, "#waiting .window[data-kind=purchase]")))
        assert browser.find_element(By.ID, "interactive").is_selected(), "the switch does not show interactive mode"
        assert "Iron Sword" in window.text and "USD 3.00" in window.text and "Wallet" in window.text, window.text
        assert browser.find_element(By.ID, "transactions").text.strip() == "", "bought before the player paid"
        browser.save_screenshot(shots[2])
        window.find_element(By.XPATH, ".//button[text()='Pay']").click()
        # The game ends once it hears the purchase and the window's close.

    with tempfile.NamedTemporaryFile("w", suffix=".json", delete=False) as profile:
        profile.write('{"interactive": true}')
    try:
        play(game, {"TESSEL_SANDBOX_PROFILE": profile.name}, pay)
    finally:
        os.unlink(profile.name)

    for shot in shots:
        with open(shot, "rb") as file:
            rows, width, height = distinct_rows(file.read())
        assert rows > 20, f"{shot} looks blank ({rows} distinct rows of {height})"
        print(f"{shot}: {width}x{height}, {rows} distinct rows")
    print("the browser drove the console")


if __name__ == "__main__":
    main()
