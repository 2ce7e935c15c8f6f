{ The link application's self-check, run as a test: the window is read
  from its form file, shown, and worked as a person would. Every outcome
  the self-check names must hold. }
unit Orvtestlinkapp;

{$I orvdefines.inc}

interface

uses
  Classes, SysUtils, fpcunit, testregistry;

type
  TTestLinkApp = class(TTestCase)
  published
    procedure TestSelfCheckHolds;
    procedure TestLinksLetGoWhenTheWindowGoes;
  end;

implementation

uses
  Forms, StdCtrls,
  Orvcommon, Orvlinkappform, Orvlinkappcheck;

procedure TTestLinkApp.TestSelfCheckHolds;
var
  Form: TLinkAppForm;
  Log: TStringList;
  Checker: TorvLinkAppCheck;
begin
  Log := TStringList.Create;
  Form := TLinkAppForm.Create(nil);
  try
    Form.Show;
    Checker := TorvLinkAppCheck.Create(Form, Log);
    try
      if not Checker.Run then
        Fail(Format('%d outcome(s) did not hold:', [Checker.Failures]) + LineEnding + Log.Text);
      AssertTrue('the check went through every step', Log.Count > 40);
    finally
      Checker.Free;
    end;
  finally
    Form.Free;
    Log.Free;
  end;
end;

procedure TTestLinkApp.TestLinksLetGoWhenTheWindowGoes;
var
  Form: TLinkAppForm;
  Edit: TEdit;
begin
  // An edit that outlives the form it was linked on: once the form and its
  // links are gone, changing it must reach nothing that was freed.
  Edit := TEdit.Create(nil);
  try
    Form := TLinkAppForm.Create(nil);
    try
      Form.RemoveComponent(Form.Edit1);
      Edit.Free;
      Edit := Form.Edit1;
      Edit.Parent := nil;
      Edit.Text := 'still linked';
      AssertEquals('the link still works', 'still linked', Form.Label1.Caption);
    finally
      Form.Free;
    end;
    Edit.Text := 'after the form';
    AssertEquals('after the form', Edit.Text);
  finally
    Edit.Free;
  end;
end;

initialization
  RegisterTest('Examples', TTestLinkApp);
end.
